# The browser build, included by CMakeLists.txt under emscripten: the page (web backend),
# the headless runner and the unit tests under node. No SDL, libpng or benchmark here.

# -O2 for size and build time: the game's frame is far inside its budget either way.
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG")
set(CMAKE_EXE_LINKER_FLAGS_RELEASE "-O2")

# xxHash compiled into each file that uses it, from the host's header alone: the host's
# include folder itself must stay out of a WebAssembly build.
set(XXHASH_HEADER /usr/include/xxhash.h)
if(NOT EXISTS ${XXHASH_HEADER})
  message(FATAL_ERROR "xxhash.h not found (apt-get install libxxhash-dev)")
endif()
file(COPY ${XXHASH_HEADER} DESTINATION ${CMAKE_BINARY_DIR}/xxhash-include)
target_include_directories(torvane_core SYSTEM PUBLIC ${CMAKE_BINARY_DIR}/xxhash-include)
target_compile_definitions(torvane_core PUBLIC XXH_INLINE_ALL)

# WebAssembly SIMD: the row loops of the blits and spans are written in the compiler's vector
# types, which become 128-bit SIMD here as they become SSE2 or NEON on the desktop.
target_compile_options(torvane_core PUBLIC -msimd128)

# ProgramExit unwinds to main(): C++ exceptions, the JavaScript kind, which ASYNCIFY allows.
add_compile_options(-fexceptions)
target_compile_options(torvane_core PUBLIC -fexceptions)
set(WEB_COMMON_LINK -fexceptions -sALLOW_MEMORY_GROWTH=1)
# Node programs (runner, tests) see the real file system and start synchronously.
set(WEB_NODE_LINK ${WEB_COMMON_LINK} -sNODERAWFS=1 -sEXIT_RUNTIME=1 -sWASM_ASYNC_COMPILATION=0)

# The page: the game on the web backend. ASYNCIFY lets the game's own blocking loop sleep
# through emscripten_sleep, giving the browser its turn. Each session of the page is a fresh
# program made by createTorvane(), so nothing carries over between sessions but what the page
# hands on.
file(GLOB WEB_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/platform/i_web*.cpp)
add_executable(torvane src/app/web_main.cpp ${WEB_SOURCES})
target_link_libraries(torvane PRIVATE torvane_core)
target_link_options(torvane PRIVATE ${WEB_COMMON_LINK} -sASYNCIFY=1 -sASYNCIFY_STACK_SIZE=65536
  -sENVIRONMENT=web -sMODULARIZE=1 -sEXPORT_NAME=createTorvane -lidbfs.js
  -sEXPORTED_RUNTIME_METHODS=[FS,IDBFS] "-sEXPORTED_FUNCTIONS=[_main,_malloc,_free]")
set_target_properties(torvane PROPERTIES SUFFIX .js)
set(WEB_PAGE_FILES index.html manifest.webmanifest sw.js icon.svg)
foreach(file ${WEB_PAGE_FILES})
  configure_file(${CMAKE_SOURCE_DIR}/web/${file} ${CMAKE_BINARY_DIR}/${file} COPYONLY)
endforeach()
# Served plainly the page is three times its gzipped size: each file gets its .gz beside it for
# a server that sends those (web/serve.mjs does), made again whenever the file changes.
set(WEB_GZIPPED)
foreach(file torvane.js torvane.wasm ${WEB_PAGE_FILES})
  set(depends ${CMAKE_BINARY_DIR}/${file})
  if(file MATCHES "^torvane\\.")
    set(depends torvane)
  endif()
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/${file}.gz
    COMMAND gzip -9 -n -k -f ${file} DEPENDS ${depends} WORKING_DIRECTORY ${CMAKE_BINARY_DIR} VERBATIM)
  list(APPEND WEB_GZIPPED ${CMAKE_BINARY_DIR}/${file}.gz)
endforeach()
add_custom_target(torvane_gzipped ALL DEPENDS ${WEB_GZIPPED})

# The headless runner under node.
include(${CMAKE_SOURCE_DIR}/cmake/shared_targets.cmake)
add_headless_library(DEFINE TORVANE_NO_NETWORK)  # node's runner has no libcurl
add_executable(torvane-headless tools/headless/main.cpp src/platform/i_web_umask.cpp)
target_link_libraries(torvane-headless PRIVATE torvane_headless)
target_link_options(torvane-headless PRIVATE ${WEB_NODE_LINK})
set_target_properties(torvane-headless PROPERTIES SUFFIX .js)

# Unit tests under node, GoogleTest built from Debian's sources. Left out: the tests that start
# the built programs or read PNGs (e2e, tools) and the SDL backend's; the recorded games run
# through the node runner instead (tests/web).
add_gtest_from_source(web_gtest)
target_compile_definitions(web_gtest PUBLIC GTEST_HAS_PTHREAD=0)
enable_testing()
# Node's stand-in for a file system has no FIFOs, device links or permission bits that bite:
# the guards against a table replaced by those are the desktop's and are tested there.
set(web_TEST_FILTER_files --gtest_filter=-HighScoreFileTest.OnlyARegularFileIsReadAndNoMoreThanEightLongLinesOfIt)
set(web_TEST_FILTER_screens --gtest_filter=-HighScoresTest.ATableThatCannotBeReplacedIsNotOfferedAndSurvivesByteForByte)
# The browser's C library rounds its sines and the like more loosely than the desktop's: how
# often the game's maths agrees with it says nothing about the game (the pinned values still
# hold). The game's command line is tried by starting the program, which no test here does.
# Playing mutants and killing saves need child processes, and the sweep a second name for a
# file: the browser's build and its file system have neither.
set(web_TEST_FILTER_replay --gtest_filter=-ReplayFuzz.*)
set(web_TEST_FILTER_system
    --gtest_filter=-SafeSave.ASaveClearsOnlyTheStaleTempFilesOfItsOwnFile:SafeSave.OneSaveAfterAHundredKilledSavesLeavesTheTableWholeAndNoTempFile)
set(web_TEST_FILTER_base --gtest_filter=-GameMath.AgreesWithTheCLibraryOverTheGamesArguments)
set(web_TEST_FILTER_app --gtest_filter=-GameCommandLine.*)
add_folder_test_programs(PREFIX web GTEST web_gtest RUN_WITH node SOURCES ${CMAKE_SOURCE_DIR}/src/platform/i_web_umask.cpp
  LINK_OPTIONS ${WEB_NODE_LINK} SUFFIX .js)
