#!/usr/bin/env bash
# Builds the browser version and runs its tests: the unit tests and the four recorded games
# under node, then the page in Debian's chromium (which compares it with the native headless
# runner's pictures, built here when missing).
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 2)
if [ ! -x build/torvane-headless ]; then
  cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build build -j"$jobs" --target torvane-headless
fi
[ -d tests/web/node_modules/puppeteer-core ] || (cd tests/web && npm ci --no-audit --no-fund --ignore-scripts --loglevel=error)
tools/build-web.sh
ctest --test-dir build-web --output-on-failure -j"$jobs"
node tests/web/recorded_games.mjs build-web/torvane-headless.js
node tests/web/browser_test.mjs build-web build/torvane-headless
