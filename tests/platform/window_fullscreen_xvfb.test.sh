#!/usr/bin/env bash
# Alt+Enter and the focus in the real window under a virtual X server: Alt+Enter switches to
# full screen and back and saves the choice (with no window manager the X server leaves the
# window's size alone, so the saved file is what shows the switch); --window overrides the saved full screen for one
# run without changing it; a round pauses on the abort question when the window loses the
# focus and goes on after N. The window carries the game's 64x64 icon.
# Usage: window_fullscreen_xvfb.test.sh <torvane> [<torvane-headless>]
set -u

game=${1:?path of the torvane binary}
game=$(readlink -f "$game")
limit=120
source "$(dirname "$0")/xvfb_game.sh"
for tool in xprop xwininfo; do command -v "$tool" >/dev/null || fail "$tool is not installed"; done

cfg="$work/config/torvane/torvane.cfg"
run() { start_game XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/share" SDL_AUDIODRIVER=dummy "$@"; }
# Waits up to 3 s for the saved full_screen to be $1.
wait_saved() {
  for _ in $(seq 30); do grep -qx "full_screen = $1" "$cfg" 2>/dev/null && return 0; sleep 0.1; done
  fail "the saved full_screen is not $1: $(cat "$cfg" 2>&1)"
}
alt_enter() {
  xdotool keydown --window "$window" Alt_L
  press Return
  xdotool keyup --window "$window" Alt_L
  sleep 0.3
}
# Count of pixels in the abort question's colour where the question is drawn.
question_pixels() {
  eval "$(xdotool getwindowgeometry --shell "$window")"
  import -window root "$work/root.png" || fail "screenshot failed"
  convert "$work/root.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage -crop 100x12+275+222 +repage \
    -fill black +opaque '#0275BE' -fill white -opaque '#0275BE' -format '%[fx:round(mean*w*h)]' info:
}

run
sleep 3   # start-up and the menu's fade-in
xprop -id "$window" _NET_WM_ICON | grep -q 'Icon (64 x 64)' || fail "the window has no 64x64 icon"
[ ! -e "$cfg" ] || fail "a settings file before any change"
alt_enter
wait_saved yes
alt_enter
wait_saved no
alt_enter
wait_saved yes
close_game

# --window: a window this time, the saved full screen untouched.
plain_game=$game
game="$work/torvane-window"
printf '#!/bin/sh\nexec "%s" --window\n' "$plain_game" >"$game" && chmod +x "$game"
run
sleep 2
grep -qx 'full_screen = yes' "$cfg" || fail "--window changed the saved setting"

# A round, then the focus goes elsewhere: the abort question holds it until N.
xdotool windowfocus "$window" 2>/dev/null
press Return          # Start New Game
sleep 2
[ "$(question_pixels)" -eq 0 ] || fail "the abort question is up before the focus was lost"
root=$(xwininfo -root | sed -n 's/.*Window id: \(0x[0-9a-f]*\).*/\1/p')
xdotool windowfocus "$root" || fail "could not move the focus to the root window"
sleep 1
shown=$(question_pixels)
echo "abort question pixels after the focus left: $shown"
[ "$shown" -gt 20 ] || fail "losing the focus did not bring up the abort question"
xdotool windowfocus "$window" 2>/dev/null
sleep 0.3
press n
sleep 1
[ "$(question_pixels)" -eq 0 ] || fail "the round did not go on after N"
close_game
echo "PASS: Alt+Enter switches and saves, --window is for one run, focus loss pauses the round"
