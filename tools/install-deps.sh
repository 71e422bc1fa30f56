#!/usr/bin/env bash
# Installs what building, playing and testing Torvane need on Debian 12, skipping what is there.
set -euo pipefail
# The browser build: emscripten, chromium for its test, and GoogleTest's sources for its unit
# tests; node and npm only when none is there (a node from another source serves as well).
# The score server: SQLite, PostgreSQL (its tests start a server of their own), the HTTP and
# JSON libraries, and OpenSSL for the recordings' SHA-256 (and its command for the HTTPS test's
# certificates); its package's test talks to it with
# curl and checks its service with systemd-analyze. The game itself reaches a score server
# through libcurl.
packages=(build-essential clang cmake pkg-config libsdl2-dev libsdl2-mixer-dev libpng-dev libgtest-dev libbenchmark-dev libxxhash-dev
          xvfb xauth xdotool x11-utils imagemagick python3 desktop-file-utils dpkg-dev file man-db
          lintian appstream emscripten chromium googletest
          libsqlite3-dev libpq-dev postgresql libcpp-httplib-dev nlohmann-json3-dev libssl-dev openssl curl systemd
          libcurl4-openssl-dev)
# Builds for other architectures run under qemu-user (tools/test-arches.sh): CI plays on 32-bit
# x86 and big-endian s390x; --arches adds the compilers for armhf, arm64 and ppc64el.
packages+=(qemu-user g++-i686-linux-gnu g++-s390x-linux-gnu)
if [ "${1:-}" = --arches ]; then
  packages+=(g++-arm-linux-gnueabihf g++-aarch64-linux-gnu g++-powerpc64le-linux-gnu)
fi
command -v node >/dev/null || packages+=(nodejs)
command -v npm >/dev/null || packages+=(npm)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# puppeteer-core for the browser test, at the version the lockfile pins; no browser download.
install_puppeteer() {
  [ -d tests/web/node_modules/puppeteer-core ] || (cd tests/web && npm ci --no-audit --no-fund --ignore-scripts --loglevel=error)
}
cd "$(dirname "$0")/.."
if [ ${#missing[@]} -eq 0 ]; then
  install_puppeteer
  exit 0
fi
as_root=()
[ "$(id -u)" -ne 0 ] && as_root=(sudo)
"${as_root[@]}" apt-get update -q
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
install_puppeteer
