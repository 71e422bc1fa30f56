#!/usr/bin/env bash
# A game in the real window under a virtual X server, played with xdotool and recorded with
# --record: a round starts, the line turns, fires and switches weapons, Escape and Y abort the
# round, and Exit leaves. The recording must replay headless with every checkpoint matching,
# and play in the window until Escape.
# Usage: window_replay_xvfb.test.sh <torvane> <torvane-headless>
set -u

game=${1:?path of the torvane binary}
game=$(readlink -f "$game")
# Kept in the environment: the virtual X server re-runs this script with the game's path only.
export TORVANE_REPLAY_HEADLESS=${TORVANE_REPLAY_HEADLESS:-$(readlink -f "${2:?path of the torvane-headless binary}")}
headless=$TORVANE_REPLAY_HEADLESS
limit=120
source "$(dirname "$0")/xvfb_game.sh"

cd "$work" || fail "no working folder"
mkdir -p rec/data play/data
(cd rec && SDL_AUDIODRIVER=dummy exec "$game" --record "$work/game.tvr") >"$work/game.log" 2>&1 &
pid=$!
window=
for _ in $(seq 100); do
  window=$(xdotool search --name '^Torvane$' 2>/dev/null | head -n 1)
  [ -n "$window" ] && break
  kill -0 "$pid" 2>/dev/null || { cat "$work/game.log"; fail "the game ended before its window appeared"; }
  sleep 0.1
done
[ -n "$window" ] || fail "no window named Torvane within 10 s"
sleep 3               # assets generated, the menu faded in
xdotool windowfocus "$window" 2>/dev/null

press Return          # Start New Game
sleep 2
xdotool keydown --window "$window" Left
xdotool keydown --window "$window" space
sleep 0.8
xdotool keyup --window "$window" Left
press 2               # laser
xdotool keydown --window "$window" Right
sleep 0.6
xdotool keyup --window "$window" Right
press 3               # blasters
press 1               # cannon
xdotool keyup --window "$window" space
press Escape          # abort?
press y
sleep 2.5             # back in the menu
for _ in 1 2 3 4; do press Down; done
press Return          # Exit

expect_clean_exit "Exit"
[ -s "$work/game.tvr" ] || fail "no recording was written"
echo "recording: $(stat -c %s "$work/game.tvr") bytes"

"$headless" --play "$work/game.tvr" --workdir "$work/play" >"$work/play.json" 2>"$work/play.err"
status=$?
cat "$work/play.json"
[ "$status" -eq 0 ] || { cat "$work/play.err"; fail "the headless replay exited with status $status"; }
grep -q '"phase":' "$work/play.json" || fail "no summary from the replay"
# The round really ran in the recording: shown frames well past the menu's.
frames=$(sed -n 's/.*"frames":\([0-9]*\).*/\1/p' "$work/play.json")
[ "${frames:-0}" -gt 200 ] || fail "only ${frames:-0} frames replayed"
# Shown in the window, the recording plays at its own pace until Escape stops it, with status 0.
printf '#!/bin/sh\nexec "%s" --play "%s"\n' "$game" "$work/game.tvr" >"$work/show" && chmod +x "$work/show"
game="$work/show"
start_game SDL_AUDIODRIVER=dummy
sleep 2
kill -0 "$pid" 2>/dev/null || fail "the playback ended before Escape"
press Escape
expect_clean_exit "Escape"
echo "PASS: a game played in the window replays headless with every checkpoint matching, and in the window until Escape"
