#!/usr/bin/env bash
# The game is built hardened: position-independent, relocations read-only and bound at start-up,
# stack canaries, and the C library's checked calls (except under AddressSanitizer, which needs
# the plain ones to see overruns itself). Neither the game nor the headless runner takes a sine,
# power or the like from the C library: those round differently from one library to the next,
# and replays would part ways.
# Usage: hardening.test.sh <torvane> <torvane-headless>
set -u
game=${1:?path of the torvane binary}
fail() { echo "FAIL: $*"; exit 1; }
for tool in readelf nm; do
  command -v "$tool" >/dev/null || fail "$tool is not installed"
done
readelf -hW "$game" | grep -q 'Type: *DYN' || fail "not position-independent"
readelf -lW "$game" | grep -q 'GNU_RELRO' || fail "no read-only relocations (relro)"
readelf -dW "$game" | grep -qE '\(FLAGS\).*BIND_NOW|\(FLAGS_1\).*NOW' || fail "no now-binding"
imports=$(nm -D "$game")
grep -q ' __stack_chk_fail' <<<"$imports" || fail "no stack protector"
if ! grep -q ' __asan_init' <<<"$imports"; then
  checked=$(grep -oE ' __[a-z_]+_chk\b' <<<"$imports" | grep -v __stack_chk | tr -d ' ' | tr '\n' ' ')
  [ -n "$checked" ] || fail "no fortified calls"
fi
for binary in "$@"; do
  imports=$(nm -D --undefined-only "$binary" | awk '{print $NF}' | sed 's/@.*//')
  found=$(grep -E "^(__)?(sin|cos|tan|sincos|atan|atan2|asin|acos|pow|exp|log|hypot)[fl]?(_finite)?$" <<<"$imports")
  [ -z "$found" ] || fail "$binary imports from the C library: $(echo $found)"
  # The check must see the imports at all: every program takes its start from the C library.
  grep -qx __libc_start_main <<<"$imports" || fail "$binary: no imports seen"
done
echo "PASS: PIE, relro, now, stack protector, checked calls: ${checked:-none under the sanitizers}; no C library maths in $*"
