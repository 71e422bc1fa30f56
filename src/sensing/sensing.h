#pragma once
// The exact colours enemies read back from the work page to find the line and the laser.
#include "gfx/gfx.h"
#include "sensing/line_colours.h"

constexpr Colour kMarkerBlack = 0xFF000000u;

// A beam's white core and the glow it blends onto the page.
inline bool is_laser_colour(Colour c) {
  return c == 0xFFFFF5FFu || c == 0xFFFFFBFFu || c == 0xFFFFF0FFu || c == 0xFFFEFEFEu ||
         c == 0xFFFFFFFFu || c == 0xFFFEFFFFu;
}

// True if the line's body or gun-tip colour lies at the centre (x, y) or on its two
// diagonals up to 4 pixels out: the contact test of balls and powerups. Each point is read
// once and compared with both colours.
bool diagonals_touch_line(float x, float y);
