#!/usr/bin/env bash
# Records the games under tests/replays again and pins what each must replay to, after a change
# that is meant to change what the game shows, sounds or scores. Commit the new recordings with
# a message that says why they changed.
#   tools/record-test-games.sh [build folder]      (default: build; built here first)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
[ -f "$build/CMakeCache.txt" ] || cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release
cmake --build "$build" -j"$(nproc 2>/dev/null || echo 2)" --target torvane-headless
headless=$build/torvane-headless
games=tests/replays

# name | runner options | key script (under tests/replays, or none)
table="
autoplay_round | --autoplay --rounds 1 --clock-origin 1100 | none
lost_round     | --rounds 1 --clock-origin 2000 --until-ms 400000 | lost_round.script
menus          | --clock-origin 3000                        | menus.script
round_keys     | --clock-origin 4000                        | round_keys.script
"

while IFS='|' read -r name options script; do
  name=$(echo "$name" | xargs)
  [ -n "$name" ] || continue
  script=$(echo "$script" | xargs)
  work=$(mktemp -d)
  # Settings and user folders of its own: the recording carries whatever it read.
  export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/share
  args=($options --workdir "$work" --record "$games/$name.tvr")
  [ "$script" = none ] || args+=(--script "$games/$script")
  "$headless" "${args[@]}" >"$work/summary.json"
  # What a replay must give back exactly: everything but this machine's timings.
  python3 - "$work/summary.json" >"$games/$name.json" <<'PY'
import json, sys
summary = json.load(open(sys.argv[1]))
for machine in ("cpu_us_p50", "cpu_us_p99", "cpu_us_max", "runner_us_p50", "runner_us_p99", "rss_kb", "rss_kb_per_round", "startup_ms",
                "alloc_count_in_rounds"):
    summary.pop(machine, None)
print(json.dumps(summary, separators=(",", ":")))
PY
  echo "$name: $(stat -c %s "$games/$name.tvr") bytes, $(python3 -c 'import json,sys; d=json.load(open(sys.argv[1])); print(d["frames"], "frames, score", d["score"])' "$games/$name.json")"
  rm -rf "$work"
done <<<"$table"
