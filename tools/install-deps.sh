#!/usr/bin/env bash
# Installs what building, playing and testing Torvane need on Debian 12, skipping what is there.
set -euo pipefail
packages=(build-essential clang cmake pkg-config libsdl2-dev libsdl2-mixer-dev libpng-dev libgtest-dev libbenchmark-dev libxxhash-dev
          xvfb xauth xdotool x11-utils imagemagick python3 desktop-file-utils dpkg-dev file man-db
          lintian appstream)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
as_root=()
[ "$(id -u)" -ne 0 ] && as_root=(sudo)
"${as_root[@]}" apt-get update -q
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
