#!/usr/bin/env bash
# Music in the real window: with a "Sounds/TorvaneMenu.mp3" beside the game (here a short
# tone; the player turns it on in the options, where no effect sounds), SDL's disk driver must
# receive sound. Without the file the game runs the same, silently.
# Usage: window_music_xvfb.test.sh <torvane> [<torvane-headless>]
set -u

game=${1:?path of the torvane binary}
game=$(readlink -f "$game")
limit=60
source "$(dirname "$0")/xvfb_game.sh"

mkdir -p "$work/Sounds"
python3 - "$work/Sounds/TorvaneMenu.mp3" <<'PY' || fail "could not write the tone"
import math, struct, sys, wave
tone = wave.open(sys.argv[1], "wb")
tone.setnchannels(1)
tone.setsampwidth(2)
tone.setframerate(22050)
tone.writeframes(b"".join(struct.pack("<h", int(12000 * math.sin(2 * math.pi * 440 * i / 22050)))
                          for i in range(22050)))
tone.close()
PY

start_game SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/audio.raw"
sleep 2.5  # assets, then the menu fades in
press Down
press Return          # Options
sleep 0.8
for _ in 1 2 3 4; do press Return; done   # music 100 %
sleep 1.5
close_game

peak=$(audio_peak "$work/audio.raw")
echo "disk audio: $(stat -c %s "$work/audio.raw" 2>/dev/null || echo 0) bytes, peak $peak"
[ "$peak" -gt 1000 ] || fail "the menu music was not heard"
echo "PASS: the menu music plays once its volume is up"
