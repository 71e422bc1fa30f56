#!/usr/bin/env bash
# A recorded game shown in the real window under a virtual X server: it plays at its own pace
# until Escape stops it, with status 0. Recording and replaying headless are the pad game's job
# (sdl_controller_game_test.cpp).
# Usage: window_replay_xvfb.test.sh <torvane> [<torvane-headless>]
set -u

game=${1:?path of the torvane binary}
game=$(readlink -f "$game")
limit=60
source "$(dirname "$0")/xvfb_game.sh"

printf '#!/bin/sh\nexec "%s" --play "%s"\n' "$game" "$here/../replays/round_keys.tvr" >"$work/show" && chmod +x "$work/show"
game="$work/show"
start_game SDL_AUDIODRIVER=dummy
sleep 2
kill -0 "$pid" 2>/dev/null || { cat "$work/game.log"; fail "the playback ended before Escape"; }
press Escape
expect_clean_exit "Escape"
echo "PASS: a recorded game plays in the window until Escape"
