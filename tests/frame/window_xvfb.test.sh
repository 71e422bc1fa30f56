#!/usr/bin/env bash
# The real windowed game under a virtual X server: the window appears, shows a picture that is
# not one flat colour, and a click on its close button (the WM_DELETE_WINDOW message a window
# manager sends) ends the process with status 0.
# Usage: window_xvfb.test.sh <torvane> [<torvane-headless>]
set -u

game=${1:?path of the torvane binary}
game=$(readlink -f "$game")
for tool in xvfb-run xdotool import convert python3; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed"; exit 1; }
done

if [ -z "${TORVANE_IN_XVFB:-}" ]; then
  export TORVANE_IN_XVFB=1
  exec timeout 55 xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$game"
fi

work=$(mktemp -d)
pid=
cleanup() {
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then kill -9 "$pid" 2>/dev/null; fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

# The game writes its high-score file under the working directory: keep it out of the tree.
cd "$work"
# No sound card here: SDL's dummy driver plays into nowhere, and the game must not mind.
SDL_AUDIODRIVER=dummy "$game" >"$work/game.log" 2>&1 &
pid=$!

window=
for _ in $(seq 100); do
  window=$(xdotool search --name '^Torvane$' 2>/dev/null | head -n 1)
  [ -n "$window" ] && break
  kill -0 "$pid" 2>/dev/null || { cat "$work/game.log"; fail "the game ended before its window appeared"; }
  sleep 0.1
done
[ -n "$window" ] || fail "no window named Torvane within 10 s"
eval "$(xdotool getwindowgeometry --shell "$window")"
echo "window $window: ${WIDTH}x${HEIGHT} at ($X, $Y)"

# Asset generation takes up to a second before the first real picture; poll until the screen
# is no longer flat.
deviation=0
for _ in $(seq 20); do
  sleep 0.5
  import -window root "$work/root.png" || fail "screenshot failed"
  # Only the window's own pixels count: the bare root around it is flat.
  convert "$work/root.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$work/screen.png"
  deviation=$(convert "$work/screen.png" -format '%[fx:standard_deviation]' info:)
  awk -v d="$deviation" 'BEGIN { exit !(d > 0.005) }' && break
done
colours=$(convert "$work/screen.png" -format '%k' info:)
echo "screenshot: standard deviation $deviation, $colours colours"
awk -v d="$deviation" 'BEGIN { exit !(d > 0.005) }' || fail "the screen stayed one flat colour"
kill -0 "$pid" 2>/dev/null || fail "the game died while showing its window"

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

# The close button: the window manager's polite request, not a destroyed window.
python3 "$(dirname "$0")/close_window.py" "$window" || fail "could not send the close request"

for _ in $(seq 50); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$pid" 2>/dev/null && fail "the game was still running 5 s after its window was closed"
wait "$pid"
status=$?
pid=
[ "$status" -eq 0 ] || { cat "$work/game.log"; fail "the game exited with status $status after the close"; }
echo "PASS: window shown and closed cleanly"
