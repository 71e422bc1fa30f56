#!/usr/bin/env bash
# Builds the browser version with Debian's emscripten into build-web/: index.html, torvane.js
# and torvane.wasm (the page, with its manifest, service worker and icon, each beside its .gz),
# plus the headless runner and the unit tests for node.
#   tools/build-web.sh                    everything
#   tools/build-web.sh torvane_gzipped    the page only (any CMake targets may be named)
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/web-env.sh
emcmake cmake -S . -B build-web -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-web -j"$(nproc 2>/dev/null || echo 2)" ${1:+--target "$@"}
