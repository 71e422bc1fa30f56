# A build for another architecture with Debian's cross compilers, included by CMakeLists.txt when
# cross compiling (tools/test-arches.sh sets it up): the headless runner and the unit tests, run
# under qemu-user through CMAKE_CROSSCOMPILING_EMULATOR. The target has no SDL2, libpng,
# libxxhash or GoogleTest of its own: no window, no PNG output, and the other two built from
# the host's sources.

# xxHash compiled into each file that uses it (Debian's cross compilers find the host's header).
target_compile_definitions(torvane_core PUBLIC XXH_INLINE_ALL)

include(${CMAKE_CURRENT_LIST_DIR}/shared_targets.cmake)

# The headless runner, without PNG output, and without libcurl for the target either: the
# runner there reaches no score server.
add_headless_library(DEFINE TORVANE_NO_PNG TORVANE_NO_NETWORK)
add_executable(torvane-headless tools/headless/main.cpp)
target_link_libraries(torvane-headless PRIVATE torvane_headless)

option(BUILD_TESTING "Build the tests" ON)
if(NOT BUILD_TESTING)
  return()
endif()

find_package(Threads REQUIRED)
add_gtest_from_source(cross_gtest)
target_link_libraries(cross_gtest PUBLIC Threads::Threads)

# One test program per game folder, each run whole as one test. Left out: the tests that start
# the built programs (e2e, tools, the command line's) and the SDL backend's; the recorded games
# are played by the runner (tools/test-arches.sh). How often the game's maths agrees with the
# target's C library says nothing about the game (the pinned values still hold) and takes
# minutes under an emulator.
enable_testing()
set(cross_TEST_FILTER_base --gtest_filter=-GameMath.AgreesWithTheCLibraryOverTheGamesArguments)
set(cross_TEST_FILTER_app --gtest_filter=-GameCommandLine.*)
# qemu-user at times hangs in a forked child of the test program before the child's first
# system call (seen with qemu-i386: the child spins, its parent waits on it for ever), so the
# saves killed in forked children are left to the native runs.
set(cross_TEST_FILTER_system --gtest_filter=-SafeSave.OneSaveAfterAHundredKilledSavesLeavesTheTableWholeAndNoTempFile)
# The reader's fuzzing plays thousands of changed recordings: 20 s natively, past the time limit
# under an emulator. The recorded games read every byte of the format on each machine.
set(cross_TEST_FILTER_replay --gtest_filter=-ReplayFuzz.*)
add_folder_test_programs(PREFIX cross GTEST cross_gtest TIMEOUT 1200)
