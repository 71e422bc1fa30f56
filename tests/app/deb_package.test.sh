#!/usr/bin/env bash
# Builds the Debian package with cpack and checks it as a distribution would: the installed files
# under /usr (the game in /usr/games), dependencies from the libraries the game links, a manual
# page that covers every option --help prints, no lintian error or warning, and with
# SOURCE_DATE_EPOCH set the same bytes from a second run.
# Usage: deb_package.test.sh <torvane> [<torvane-headless>]
set -u
game=${1:?path of the torvane binary}
build=$(dirname "$(readlink -f "$game")")
fail() { echo "FAIL: $*"; exit 1; }
for tool in cpack dpkg-deb dpkg-shlibdeps lintian; do
  command -v "$tool" >/dev/null || fail "$tool is not installed"
done
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
export SOURCE_DATE_EPOCH=1700000000

make_deb() {  # <folder>: the package's path
  mkdir -p "$1"
  (cd "$1" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$1") >"$1/cpack.log" 2>&1 ||
    { cat "$1/cpack.log"; fail "cpack failed"; }
  ls "$1"/torvane_*.deb 2>/dev/null | head -n 1
}
deb=$(make_deb "$out/first")
[ -n "$deb" ] || fail "no torvane_*.deb made"
dpkg-deb -c "$deb" >"$out/contents" || fail "dpkg-deb cannot list $deb"
for f in ./usr/games/torvane ./usr/share/applications/torvane.desktop ./usr/share/man/man6/torvane.6.gz \
         ./usr/share/doc/torvane/{README.md,copyright,changelog.gz} \
         ./usr/share/icons/hicolor/{32x32,48x48,64x64,128x128,256x256}/apps/torvane.png; do
  grep -q " $f\$" "$out/contents" || { cat "$out/contents"; fail "$f is not in the package"; }
done
grep -qE ' \./usr/share/metainfo/[a-z.]+\.metainfo\.xml$' "$out/contents" || fail "no metainfo in the package"
! grep -q 'torvane-headless\| ./usr/bin/' "$out/contents" || fail "the package carries the headless runner or uses /usr/bin"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for lib in libsdl2 libsdl2-mixer libc6; do
  echo "$depends" | grep -q "$lib" || fail "Depends lacks $lib"
done

dpkg-deb -x "$deb" "$out/root"
# Each option --help prints heads an entry (.TP) of the manual page.
zcat "$out/root/usr/share/man/man6/torvane.6.gz" | sed 's/\\-/-/g' >"$out/manual"
awk 'after_tp { print } { after_tp = ($0 == ".TP") }' "$out/manual" >"$out/entries"
for option in $("$game" --help | grep -oE '^  --[a-z-]+'); do
  grep -qE -- "(^|[ \"])$option( |\"|$)" "$out/entries" || fail "the manual page has no entry for $option"
done
for text in '.SH EXIT STATUS' '/usr/share/torvane/'; do
  grep -qF -- "$text" "$out/manual" || fail "the manual page lacks '$text'"
done

lintian --fail-on none "$deb" >"$out/lintian" 2>&1
cat "$out/lintian"
! grep -qE '^(E|W):' "$out/lintian" || fail "lintian reports errors or warnings"

again=$(make_deb "$out/second")
cmp -s "$deb" "$again" || fail "a second cpack run gives a different package"
echo "PASS: $(basename "$deb"), $(wc -l <"$out/contents") entries, lintian clean, $(sha256sum <"$deb" | cut -c1-16) twice"
