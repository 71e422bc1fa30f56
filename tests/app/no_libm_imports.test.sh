#!/usr/bin/env bash
# Neither the game nor the headless runner may take a sine, power or the like from the C
# library: those round differently from one library to the next, and replays would part ways.
#   no_libm_imports.test.sh <torvane> <torvane-headless>
set -euo pipefail
names='sin|cos|tan|sincos|atan|atan2|asin|acos|pow|exp|log|hypot'
status=0
for binary in "$@"; do
  imports=$(nm -D --undefined-only "$binary" | awk '{print $NF}' | sed 's/@.*//')
  found=$(grep -E "^(__)?($names)[fl]?(_finite)?$" <<<"$imports" || true)
  if [ -n "$found" ]; then
    echo "$binary imports from the C library: $(echo $found)"
    status=1
  fi
  # The check must see the imports at all: every program takes its start from the C library.
  grep -qx __libc_start_main <<<"$imports" || { echo "$binary: no imports seen"; status=1; }
done
[ $status -eq 0 ] && echo "no C library maths imported by: $*"
exit $status
