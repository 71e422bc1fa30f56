#!/usr/bin/env bash
# The real windowed game under a virtual X server: the window appears, a larger window shows the
# page centred at its own size, and a click on its close button (the WM_DELETE_WINDOW message a
# window manager sends) ends the process with status 0. A hang-up (SIGHUP: a closed terminal),
# a logout (SIGTERM, then SIGHUP 50 ms later) and Ctrl+C are taken as the close button: at the
# menu and in a round the game ends at once with status 0, not killed by the signal. (The
# final-score screens keep the score first on the same path: tests/e2e/close_keeps_score_test.cpp.)
# Usage: window_xvfb.test.sh <torvane> [<torvane-headless>]
set -u

game=${1:?path of the torvane binary}
game=$(readlink -f "$game")
limit=140
source "$(dirname "$0")/xvfb_game.sh"

# No sound card here: SDL's dummy driver plays into nowhere, and the game must not mind.
start_game SDL_AUDIODRIVER=dummy
# A larger window keeps the page at its own size, centred: 1000x700 leaves (180, 110) of black
# on the left and top, so everything drawn lies within (180, 110)-(819, 589).
xdotool windowsize "$window" 1000 700 || fail "could not resize the window"
inside=
for _ in $(seq 20); do
  sleep 0.5
  eval "$(xdotool getwindowgeometry --shell "$window")"
  [ "$WIDTH" -eq 1000 ] && [ "$HEIGHT" -eq 700 ] || continue
  import -window root "$work/root.png" || fail "screenshot failed"
  convert "$work/root.png" -crop "1000x700+${X}+${Y}" +repage "$work/big.png"
  # The bounding box of every pixel that is not pure black.
  box=$(convert "$work/big.png" -fuzz 0 -bordercolor black -border 1 -trim -format '%w %h %X %Y' info: | tr -d '+')
  read -r bw bh bx by <<<"$box"
  bx=$((bx - 1)); by=$((by - 1))
  [ "$bw" -gt 1 ] || continue  # a faded-out frame: all black
  if [ "$bx" -ge 180 ] && [ "$by" -ge 110 ] && [ $((bx + bw)) -le 820 ] && [ $((by + bh)) -le 590 ]; then
    inside=yes
    break
  fi
done
echo "resized to 1000x700: picture content ${bw}x${bh} at ($bx, $by)"
[ -n "$inside" ] || fail "the picture is not the page centred at (180, 110) in a 1000x700 window"

close_game
echo "PASS: window shown centred and closed cleanly"

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
