#!/usr/bin/env bash
# Sound and what a player may have left behind, in the real window: with a
# "Sounds/TorvaneMenu.mp3" beside the game (here a short tone) the menu music is heard once the
# options turn it up, where no effect sounds; a settings file at 100 % makes the first round's
# fire heard without a visit to the options (SDL's disk driver receives both); a pipe as the
# menu music means no music, one line saying so, and a menu that still closes at once; a window
# resized far beyond any screen neither aborts nor takes gigabytes.
# Usage: window_saved_settings_xvfb.test.sh <torvane> [<torvane-headless>]
set -u

game=${1:?path of the torvane binary}
game=$(readlink -f "$game")
limit=140
source "$(dirname "$0")/xvfb_game.sh"

mkdir -p "$work/Sounds"
python3 - "$work/Sounds/TorvaneMenu.mp3" <<'PY2' || fail "could not write the tone"
import math, struct, sys, wave
tone = wave.open(sys.argv[1], "wb")
tone.setnchannels(1)
tone.setsampwidth(2)
tone.setframerate(22050)
tone.writeframes(b"".join(struct.pack("<h", int(12000 * math.sin(2 * math.pi * 440 * i / 22050)))
                          for i in range(22050)))
tone.close()
PY2
start_game SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/music.raw"
sleep 2.5  # assets, then the menu fades in
press Down
press Return          # Options
sleep 0.8
for _ in 1 2 3 4; do press Return; done   # music 100 %
sleep 1.5
close_game
peak=$(audio_peak "$work/music.raw")
echo "menu music: disk audio peak $peak"
[ "$peak" -gt 1000 ] || fail "the menu music was not heard"
rm -f "$work/Sounds/TorvaneMenu.mp3"

mkdir -p "$work/config/torvane"
printf 'music_volume = 0\neffects_volume = 100\nfull_screen = no\n' >"$work/config/torvane/torvane.cfg"
start_game XDG_CONFIG_HOME="$work/config" SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/audio.raw"
sleep 2.5             # assets, then the menu fades in
press Return          # Start New Game
sleep 2
for _ in 1 2 3 4 5 6; do press space; done
close_game
peak=$(audio_peak "$work/audio.raw")
echo "saved 100 %: disk audio peak $peak"
[ "$peak" -gt 1000 ] || fail "the fire was not heard at the saved volume"

mkfifo "$work/Sounds/TorvaneMenu.mp3"
start_game XDG_CONFIG_HOME="$work/config" SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/audio2.raw"
sleep 3
grep -q "TorvaneMenu.mp3: not a regular file, so no music" "$work/game.log" || fail "no line about the pipe: $(cat "$work/game.log")"
find_window
xdotool windowsize --sync "$window" 32767 32767 2>/dev/null || xdotool windowsize "$window" 32767 32767
sleep 1.5
kill -0 "$pid" 2>/dev/null || { cat "$work/game.log"; fail "the game died when its window grew"; }
rss=$(awk '/VmRSS/ {print $2}' "/proc/$pid/status")
echo "pipe as menu music: menu reached; window 32767x32767 asked for: ${rss} kB resident"
[ "$rss" -lt 1000000 ] || fail "a huge window took ${rss} kB"
start=$(date +%s)
close_game
echo "closed in $(( $(date +%s) - start )) s"
echo "PASS: the menu music, saved volumes at start, a pipe as music, a huge window"
