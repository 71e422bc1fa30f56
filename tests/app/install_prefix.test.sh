#!/usr/bin/env bash
# Installs the built game into a temporary DESTDIR and checks every file an installed copy
# needs: the program in bin/ (which answers --version), the menu entry (desktop-file-validate),
# the software-centre entry (appstreamcli), the icons at their sizes, the compressed manual page
# naming this prefix's data folder, the README and the copyright.
# Usage: install_prefix.test.sh <torvane> [<torvane-headless>]
set -u
game=${1:?path of the torvane binary}
build=$(dirname "$(readlink -f "$game")")
fail() { echo "FAIL: $*"; exit 1; }
for tool in desktop-file-validate appstreamcli file man; do
  command -v "$tool" >/dev/null || fail "$tool is not installed"
done
dest=$(mktemp -d)
trap 'rm -rf "$dest"' EXIT

DESTDIR="$dest" cmake --install "$build" --prefix /opt/torvane >"$dest/install.log" 2>&1 ||
  { cat "$dest/install.log"; fail "cmake --install failed"; }
root="$dest/opt/torvane"
for f in bin/torvane share/applications/torvane.desktop share/man/man6/torvane.6.gz share/doc/torvane/{README.md,copyright}; do
  [ -s "$root/$f" ] || fail "$f is not installed"
done
[ -x "$root/bin/torvane" ] || fail "bin/torvane is not executable"
"$root/bin/torvane" --version | grep -qE '^torvane [0-9]+\.[0-9]+\.[0-9]+$' || fail "the installed game gives no version"
desktop-file-validate "$root/share/applications/torvane.desktop" || fail "the menu entry does not validate"
grep -qx 'Icon=torvane' "$root/share/applications/torvane.desktop" || fail "the menu entry names no torvane icon"
appstreamcli validate --no-net "$root"/share/metainfo/*.metainfo.xml || fail "the metainfo does not validate"
man -l "$root/share/man/man6/torvane.6.gz" 2>&1 | grep -q -- '--fullscreen' || fail "the manual page does not render"
zgrep -q '/opt/torvane/share/torvane/' "$root/share/man/man6/torvane.6.gz" || fail "the manual page does not name this prefix's data folder"
# The manual page and the metainfo carry the date of the changelog's newest entry.
released=$(date -u -d "$(sed -n 's/^ -- .*>  //p' "$(dirname "$0")/../../packaging/changelog" | head -n 1)" +%F)
zgrep -q "^\.TH .*\"$released\"" "$root/share/man/man6/torvane.6.gz" || fail "the manual page is not dated $released"
grep -q "date=\"$released\"" "$root"/share/metainfo/*.metainfo.xml || fail "the metainfo's release is not dated $released"
for size in 32 48 64 128 256; do
  icon="$root/share/icons/hicolor/${size}x${size}/apps/torvane.png"
  [ -f "$icon" ] || fail "no ${size}x${size} icon"
  file "$icon" | grep -q "PNG image data, $size x $size," || fail "the ${size}x${size} icon is $(file -b "$icon")"
done
echo "PASS: $(cd "$root" && find . -type f | wc -l) files installed, entries valid, icons 32-256"
