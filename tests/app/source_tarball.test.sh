#!/usr/bin/env bash
# Makes the source tarball with cpack: it must unpack to one folder holding the tree without
# build folders or version control, and configure there with the tests off, asking for
# neither GoogleTest nor Google Benchmark.
# Usage: source_tarball.test.sh <torvane> [<torvane-headless>]
set -u
game=${1:?path of the torvane binary}
build=$(dirname "$(readlink -f "$game")")
fail() { echo "FAIL: $*"; exit 1; }
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

(cd "$out" && cpack --config "$build/CPackSourceConfig.cmake" -B "$out") >"$out/cpack.log" 2>&1 ||
  { cat "$out/cpack.log"; fail "cpack failed"; }
tarball=$(ls "$out"/torvane-*.tar.gz 2>/dev/null | head -n 1)
[ -n "$tarball" ] || { cat "$out/cpack.log"; fail "no torvane-*.tar.gz made"; }
tar -tzf "$tarball" >"$out/contents" || fail "tar cannot list $tarball"
top=$(cut -d/ -f1 "$out/contents" | sort -u)
[ "$(wc -l <<<"$top")" -eq 1 ] || fail "more than one top folder: $(echo $top)"
for f in CMakeLists.txt LICENSE src/app/main.cpp tools/run-tests.sh; do
  grep -qx "$top/$f" "$out/contents" || fail "$f is not in the tarball"
done
stray='^[^/]+/build[^/]*/|(^|/)(\.git|CMakeCache\.txt|CMakeFiles|_CPack_Packages)(/|$)'
! grep -qE "$stray" "$out/contents" || fail "the tarball carries a build folder or .git: $(grep -m1 -E "$stray" "$out/contents")"

tar -xzf "$tarball" -C "$out"
cmake -S "$out/$top" -B "$out/build" -DBUILD_TESTING=OFF >"$out/configure.log" 2>&1 ||
  { cat "$out/configure.log"; fail "the unpacked tree does not configure"; }
! grep -qiE '^(GTest|GTEST|benchmark)_' "$out/build/CMakeCache.txt" || fail "configured without tests, it still looks for GoogleTest or Google Benchmark"
echo "PASS: $(basename "$tarball"): $(wc -l <"$out/contents") entries under $top/, configures without tests"
