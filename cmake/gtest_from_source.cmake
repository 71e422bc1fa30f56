# GoogleTest built from Debian's sources (package googletest), for builds whose compiler cannot
# link the machine's own libgtest: the cross compilers and emscripten.
set(GTEST_SOURCE /usr/src/googletest/googletest)
if(NOT EXISTS ${GTEST_SOURCE}/src/gtest-all.cc)
  message(FATAL_ERROR "GoogleTest sources not found (apt-get install googletest)")
endif()

# add_gtest_from_source(NAME): a static library NAME with GoogleTest and its main().
function(add_gtest_from_source name)
  add_library(${name} STATIC ${GTEST_SOURCE}/src/gtest-all.cc ${GTEST_SOURCE}/src/gtest_main.cc)
  target_include_directories(${name} SYSTEM PUBLIC ${GTEST_SOURCE}/include PRIVATE ${GTEST_SOURCE})
  target_compile_options(${name} PRIVATE -w)  # GCC 12 finds false overlaps in its strings
endfunction()
