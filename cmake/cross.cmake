# A build for another architecture with Debian's cross compilers, included by CMakeLists.txt when
# cross compiling (tools/test-arches.sh sets it up): the headless runner and the unit tests, run
# under qemu-user through CMAKE_CROSSCOMPILING_EMULATOR. The target has no SDL2, libpng,
# libxxhash or GoogleTest of its own: no window, no PNG output, and the other two built from
# the host's sources.

# xxHash compiled into each file that uses it (Debian's cross compilers find the host's header).
target_compile_definitions(torvane_core PUBLIC XXH_INLINE_ALL)

# The headless runner, without PNG output.
file(GLOB HEADLESS_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/headless/*.cpp)
list(FILTER HEADLESS_SOURCES EXCLUDE REGEX "/main\\.cpp$")
add_library(torvane_headless STATIC ${HEADLESS_SOURCES})
target_include_directories(torvane_headless PUBLIC ${CMAKE_SOURCE_DIR}/tools ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(torvane_headless PUBLIC torvane_core)
# No libcurl for the target either: the runner there reaches no score server.
target_compile_definitions(torvane_headless PRIVATE TORVANE_NO_PNG TORVANE_NO_NETWORK)
add_executable(torvane-headless tools/headless/main.cpp)
target_link_libraries(torvane-headless PRIVATE torvane_headless)

option(BUILD_TESTING "Build the tests" ON)
if(NOT BUILD_TESTING)
  return()
endif()

include(${CMAKE_CURRENT_LIST_DIR}/gtest_from_source.cmake)
find_package(Threads REQUIRED)
add_gtest_from_source(cross_gtest)
target_link_libraries(cross_gtest PUBLIC Threads::Threads)

# One test program per game folder, each run whole as one test. Left out: the tests that start
# the built programs (e2e, tools, the command line's) and the SDL backend's; the recorded games
# are played by the runner (tools/test-arches.sh). How often the game's maths agrees with the
# target's C library says nothing about the game (the pinned values still hold) and takes
# minutes under an emulator.
enable_testing()
set(CROSS_TEST_FILTER_base --gtest_filter=-GameMath.AgreesWithTheCLibraryOverTheGamesArguments)
set(CROSS_TEST_FILTER_app --gtest_filter=-GameCommandLine.*)
# qemu-user at times hangs in a forked child of the test program before the child's first
# system call (seen with qemu-i386: the child spins, its parent waits on it for ever), so the
# saves killed in forked children are left to the native runs.
set(CROSS_TEST_FILTER_system --gtest_filter=-SafeSave.OneSaveAfterAHundredKilledSavesLeavesTheTableWholeAndNoTempFile)
# The reader's fuzzing plays thousands of changed recordings: 20 s natively, past the time limit
# under an emulator. The recorded games read every byte of the format on each machine.
set(CROSS_TEST_FILTER_replay --gtest_filter=-ReplayFuzz.*)
foreach(name ${GAME_FOLDERS})
  if(NOT IS_DIRECTORY ${CMAKE_SOURCE_DIR}/tests/${name})
    continue()
  endif()
  file(GLOB test_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/${name}/*.cpp)
  list(FILTER test_sources EXCLUDE REGEX "/sdl_[^/]*\\.cpp$")
  add_executable(test_${name} ${test_sources})
  target_include_directories(test_${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(test_${name} PRIVATE torvane_headless cross_gtest)
  target_compile_definitions(test_${name} PRIVATE TORVANE_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    TORVANE_HEADLESS_BIN="" TORVANE_GAME_BIN="")
  add_test(NAME cross_${name} COMMAND test_${name} ${CROSS_TEST_FILTER_${name}})
  set_tests_properties(cross_${name} PROPERTIES TIMEOUT 1200)
endforeach()
