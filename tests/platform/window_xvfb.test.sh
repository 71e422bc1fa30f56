#!/usr/bin/env bash
# The real windowed game under a virtual X server: the window appears, a larger window shows the
# page centred at its own size, and a click on its close button (the WM_DELETE_WINDOW message a
# window manager sends) ends the process with status 0.
# Usage: window_xvfb.test.sh <torvane> [<torvane-headless>]
set -u

game=${1:?path of the torvane binary}
game=$(readlink -f "$game")
limit=55
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
