#!/usr/bin/env bash
# The game is built hardened: position-independent, relocations read-only and bound at start-up,
# stack canaries, and the C library's checked calls (except under AddressSanitizer, which needs
# the plain ones to see overruns itself).
# Usage: hardening.test.sh <torvane> [<torvane-headless>]
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
echo "PASS: PIE, relro, now, stack protector, checked calls: ${checked:-none under the sanitizers}"
