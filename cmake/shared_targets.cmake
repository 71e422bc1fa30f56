# Targets the builds make alike: the headless runner's library (every build), and for the
# builds for other machines (cross and browser) GoogleTest built from Debian's sources (their
# compilers cannot link the machine's own libgtest) and one test program per game folder.

# add_headless_library([LINK libs...] [DEFINE definitions...]): the runner without its main(),
# as torvane_headless.
function(add_headless_library)
  cmake_parse_arguments(ARG "" "" "LINK;DEFINE" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/headless/*.cpp)
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  add_library(torvane_headless STATIC ${sources})
  target_include_directories(torvane_headless PUBLIC ${CMAKE_SOURCE_DIR}/tools ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(torvane_headless PUBLIC torvane_core ${ARG_LINK})
  if(ARG_DEFINE)
    target_compile_definitions(torvane_headless PRIVATE ${ARG_DEFINE})
  endif()
endfunction()

set(GTEST_SOURCE /usr/src/googletest/googletest)

# add_gtest_from_source(NAME): a static library NAME with GoogleTest and its main().
function(add_gtest_from_source name)
  if(NOT EXISTS ${GTEST_SOURCE}/src/gtest-all.cc)
    message(FATAL_ERROR "GoogleTest sources not found (apt-get install googletest)")
  endif()
  add_library(${name} STATIC ${GTEST_SOURCE}/src/gtest-all.cc ${GTEST_SOURCE}/src/gtest_main.cc)
  target_include_directories(${name} SYSTEM PUBLIC ${GTEST_SOURCE}/include PRIVATE ${GTEST_SOURCE})
  target_compile_options(${name} PRIVATE -w)  # GCC 12 finds false overlaps in its strings
endfunction()

# add_folder_test_programs(PREFIX p GTEST lib [RUN_WITH cmd] [SOURCES extra...]
#                          [LINK_OPTIONS opts...] [SUFFIX .js] [TIMEOUT s]):
# test_<folder> for every game folder with tests (the SDL backend's left out), run whole as the
# test p_<folder>, with the filter in the variable p_TEST_FILTER_<folder> when it is set. None
# of them starts the built programs: the helpers beside the tests that do just compile.
function(add_folder_test_programs)
  cmake_parse_arguments(ARG "" "PREFIX;GTEST;SUFFIX;TIMEOUT" "RUN_WITH;SOURCES;LINK_OPTIONS" ${ARGN})
  foreach(name ${GAME_FOLDERS})
    if(NOT IS_DIRECTORY ${CMAKE_SOURCE_DIR}/tests/${name})
      continue()
    endif()
    file(GLOB test_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/${name}/*.cpp)
    list(FILTER test_sources EXCLUDE REGEX "/sdl_[^/]*\\.cpp$")
    add_executable(test_${name} ${test_sources} ${ARG_SOURCES})
    target_include_directories(test_${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
    target_link_libraries(test_${name} PRIVATE torvane_headless ${ARG_GTEST})
    target_compile_definitions(test_${name} PRIVATE TORVANE_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
      TORVANE_HEADLESS_BIN="" TORVANE_GAME_BIN="")
    if(ARG_LINK_OPTIONS)
      target_link_options(test_${name} PRIVATE ${ARG_LINK_OPTIONS})
    endif()
    if(ARG_SUFFIX)
      set_target_properties(test_${name} PROPERTIES SUFFIX ${ARG_SUFFIX})
    endif()
    # Named as a target, the program runs under the cross build's emulator.
    set(program test_${name})
    if(ARG_RUN_WITH)
      set(program ${ARG_RUN_WITH} $<TARGET_FILE:test_${name}>)
    endif()
    add_test(NAME ${ARG_PREFIX}_${name} COMMAND ${program} ${${ARG_PREFIX}_TEST_FILTER_${name}})
    if(ARG_TIMEOUT)
      set_tests_properties(${ARG_PREFIX}_${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT})
    endif()
  endforeach()
endfunction()
