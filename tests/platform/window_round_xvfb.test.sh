#!/usr/bin/env bash
# A round in the real window under a virtual X server, played with xdotool: the options turn
# both volumes up to 100 %, a round starts, and a screenshot must show the line's body and gun
# tip and the energy bar's white frame exactly where they belong. The sound goes to SDL's disk
# driver and must not be silence. Closing the window ends the game with status 0.
# Usage: window_round_xvfb.test.sh <torvane> [<torvane-headless>]
set -u

game=${1:?path of the torvane binary}
game=$(readlink -f "$game")
limit=90
source "$(dirname "$0")/xvfb_game.sh"

start_game SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/audio.raw"

shot() {  # the window's own pixels into $work/$1.png
  eval "$(xdotool getwindowgeometry --shell "$window")"
  import -window root "$work/root.png" || fail "screenshot failed"
  convert "$work/root.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$work/$1.png"
}
pixel() {  # hex RRGGBB of page pixel ($2, $3) in $work/$1.png
  convert "$work/$1.png" -format "%[hex:p{$2,$3}]" info:
}

# The menu is up once the screen is no longer flat (assets generated, first fade begun).
for _ in $(seq 40); do
  sleep 0.25
  shot menu
  deviation=$(convert "$work/menu.png" -format '%[fx:standard_deviation]' info:)
  awk -v d="$deviation" 'BEGIN { exit !(d > 0.005) }' && break
done
sleep 1

xdotool windowfocus "$window" 2>/dev/null
press Down            # Options
press Return
sleep 0.8             # the options fade in
for _ in 1 2 3 4; do press Return; done   # music 100 %
press Down
for _ in 1 2 3 4; do press Return; done   # effects 100 %
press Down
press Down
press Return          # Exit
sleep 0.8
press Up              # Start New Game
press Return
sleep 1.6             # fade out, reset, fade in; the first wave comes only at second 5

xdotool keydown --window "$window" space
sleep 0.6
shot round
xdotool keyup --window "$window" space

# The line starts horizontal about the pivot (320, 220): body from 20 to 50 pixels right of it,
# the red gun tip from 49 to 55, and the white frame of the energy bar at (429, 6)-(631, 11).
body=$(pixel round 340 220); tip=$(pixel round 373 220)
frame_top=$(pixel round 500 6); frame_left=$(pixel round 429 9)
echo "body $body, tip $tip, bar frame $frame_top / $frame_left"
[ "$body" = "E7E7E7" ] || fail "the line's body is $body, not E7E7E7"
[ "$tip" = "C00000" ] || fail "the gun tip is $tip, not C00000"
[ "$frame_top" = "FFFFFF" ] && [ "$frame_left" = "FFFFFF" ] || fail "no white energy bar frame"

close_game

# 16-bit samples: the cannon and the options' sounds must have made some noise.
peak=$(audio_peak "$work/audio.raw")
echo "disk audio: $(stat -c %s "$work/audio.raw" 2>/dev/null || echo 0) bytes, peak $peak"
[ "$peak" -gt 1000 ] || fail "the sound written to disk is silent"
echo "PASS: a round in the real window shows the line and the bar frame, with sound"
