#!/usr/bin/env bash
# Builds the Debian package with cpack and lists it: the installed files must be in it under
# /usr, and its dependencies must have come from the libraries the game links.
# Usage: deb_package.test.sh <torvane> [<torvane-headless>]
set -u
game=${1:?path of the torvane binary}
build=$(dirname "$(readlink -f "$game")")
fail() { echo "FAIL: $*"; exit 1; }
for tool in cpack dpkg-deb dpkg-shlibdeps; do
  command -v "$tool" >/dev/null || fail "$tool is not installed"
done
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

(cd "$out" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out") >"$out/cpack.log" 2>&1 ||
  { cat "$out/cpack.log"; fail "cpack failed"; }
deb=$(ls "$out"/torvane_*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || { cat "$out/cpack.log"; fail "no torvane_*.deb made"; }
dpkg-deb -c "$deb" >"$out/contents" || fail "dpkg-deb cannot list $deb"
for f in ./usr/bin/torvane ./usr/share/applications/torvane.desktop ./usr/share/man/man6/torvane.6 \
         ./usr/share/doc/torvane/README.md ./usr/share/icons/hicolor/{32x32,64x64,128x128,256x256}/apps/torvane.png; do
  grep -q " $f\$" "$out/contents" || { cat "$out/contents"; fail "$f is not in the package"; }
done
! grep -q 'torvane-headless' "$out/contents" || fail "the package carries the headless runner"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for lib in libsdl2 libsdl2-mixer libc6; do
  echo "$depends" | grep -q "$lib" || fail "Depends lacks $lib"
done
echo "PASS: $(basename "$deb"), $(wc -l <"$out/contents") entries"
