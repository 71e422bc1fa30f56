#pragma once
// The thin bar over a playback: how far it has gone, its length, the speed and the score.
#include <cstdint>

#include "gfx/gfx.h"
#include "replay/playback_controls.h"

// Draws the bar along the bottom of `page` (a copy: the game's own page stays as recorded).
void draw_playback_bar(Image& page, const PlaybackControls& controls, std::int64_t frame, std::int64_t total,
                       int score);

// "m:ss" of a frame count at 41 frames a second, into a buffer of at least 16 chars.
void playback_time_text(std::int64_t frames, char* out);
