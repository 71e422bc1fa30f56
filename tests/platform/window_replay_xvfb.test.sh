#!/usr/bin/env bash
# A recorded game shown in the real window under a virtual X server: it plays at its own pace
# until Escape stops it, with status 0; a recording cut short plays to where it stops and ends
# by itself with status 4, not the 0 of a whole one. Recording and replaying headless are the
# pad game's job (sdl_controller_game_test.cpp).
# Usage: window_replay_xvfb.test.sh <torvane> [<torvane-headless>]
set -u

game=${1:?path of the torvane binary}
game=$(readlink -f "$game")
limit=60
source "$(dirname "$0")/xvfb_game.sh"
binary=$game

printf '#!/bin/sh\nexec "%s" --play "%s"\n' "$binary" "$here/../replays/round_keys.tvr" >"$work/show" && chmod +x "$work/show"
game="$work/show"
start_game SDL_AUDIODRIVER=dummy
sleep 2
kill -0 "$pid" 2>/dev/null || { cat "$work/game.log"; fail "the playback ended before Escape"; }
press Escape
expect_clean_exit "Escape"
echo "PASS: a recorded game plays in the window until Escape"

# Three seconds of the menus' recording and a few bytes of the next chunk, as a full disk
# leaves a file.
python3 - "$here/../replays/menus.tvr" "$work/cut.tvr" <<'PY' || fail "could not cut the recording"
import sys
data = open(sys.argv[1], "rb").read()
at = 13 + data[12]  # magic, format, input-state size, version
for _ in range(3):
    length = shift = 0
    while True:
        byte = data[at]; at += 1
        length |= (byte & 0x7F) << shift; shift += 7
        if byte < 0x80: break
    at += length + 4
open(sys.argv[2], "wb").write(data[:at + 8])
PY
printf '#!/bin/sh\nexec "%s" --play "%s"\n' "$binary" "$work/cut.tvr" >"$work/show" && chmod +x "$work/show"
start_game SDL_AUDIODRIVER=dummy
for _ in $(seq 100); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$pid" 2>/dev/null && fail "the cut recording was still playing after 10 s"
wait "$pid"
status=$?
pid=
[ "$status" -eq 4 ] || { cat "$work/game.log"; fail "a recording cut short ended with status $status, not 4"; }
grep -q "cut short: played as recorded up to checkpoint frame 123," "$work/game.log" ||
  { cat "$work/game.log"; fail "no word of where the recording was cut"; }
echo "PASS: a recording cut short plays to its third checkpoint and ends with status 4"
