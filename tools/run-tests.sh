#!/usr/bin/env bash
# Builds the game and runs every test: the release build with the whole suite (unit tests,
# headless end-to-end runs, the real window under Xvfb), the recorded games played by a runner
# built with clang, the maths tests and a recorded game on i686 and s390x under qemu-user, the
# browser build (its unit tests and recorded games under node, the page in chromium), then an
# AddressSanitizer and UndefinedBehaviorSanitizer build with the same tests, recorded games
# included.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 2)

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

# One game on every compiler: the runner built by clang plays the recorded games, every
# checkpoint matching.
cmake -S . -B build-clang -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=clang++
cmake --build build-clang -j"$jobs" --target test_e2e
build-clang/test_e2e --gtest_filter='Games/*'

# One game on other machines: the maths tests and a recorded game on 32-bit x86 and big-endian
# s390x, cross-built and run under qemu-user (every architecture and every game:
# tools/test-arches.sh).
tools/test-arches.sh --quick i686 s390x

tools/test-web.sh

cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTORVANE_SANITIZE=ON
cmake --build build-sanitize -j"$jobs"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# The real-window and packaging tests ran above; everything else runs again under the
# sanitizers, the recorded games among them, so whole rounds, menus and name entries are
# played sanitized.
ctest --test-dir build-sanitize --output-on-failure -j"$jobs" -E '^(window_|deb_package|scores_package|source_tarball|install_prefix|hardening)'
