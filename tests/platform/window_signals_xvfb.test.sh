#!/usr/bin/env bash
# The real window under a virtual X server takes a hang-up (SIGHUP: a closed terminal), a logout
# (SIGTERM, then SIGHUP 50 ms later) and Ctrl+C as its close button: at the menu and in a round
# the game ends at once with status 0, not killed by the signal. (The final-score screens keep
# the score first on the same path: tests/e2e/close_keeps_score_test.cpp.)
# Usage: window_signals_xvfb.test.sh <torvane> [<torvane-headless>]
set -u

game=${1:?path of the torvane binary}
game=$(readlink -f "$game")
limit=90
source "$(dirname "$0")/xvfb_game.sh"

# $1: where; then the signals to send, 50 ms apart.
signal_game() {
  local where=$1
  shift
  local first=yes
  for sig in "$@"; do
    [ -n "$first" ] || sleep 0.05
    first=
    kill -s "$sig" "$pid" 2>/dev/null || fail "the game was gone before SIG$sig $where"
  done
  expect_clean_exit "SIG$* $where"
  echo "SIG$* $where: exit 0"
}

for signals in HUP "TERM HUP" INT; do
  start_game SDL_AUDIODRIVER=dummy
  sleep 2.5  # assets, then the menu
  # shellcheck disable=SC2086
  signal_game "at the menu" $signals
done
for signals in HUP "TERM HUP"; do
  start_game SDL_AUDIODRIVER=dummy
  sleep 2.5
  press Return  # Start New Game
  sleep 1.5
  # shellcheck disable=SC2086
  signal_game "in a round" $signals
done
echo "PASS: hang-ups and termination requests close the window cleanly"
