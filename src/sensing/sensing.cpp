// The contact test of balls and powerups against the line's colours.
#include "sensing/sensing.h"

bool diagonals_touch_line(float x, float y) {
  auto is_line = [](Colour c) { return c == kLineBodyColour || c == kGunTipColour; };
  if (is_line(gfx_point(nullptr, x, y))) return true;
  for (int r = 1; r <= 4; ++r) {
    const float fr = static_cast<float>(r);
    if (is_line(gfx_point(nullptr, x - fr, y + fr)) || is_line(gfx_point(nullptr, x + fr, y - fr)) ||
        is_line(gfx_point(nullptr, x - fr, y - fr)) || is_line(gfx_point(nullptr, x + fr, y + fr)))
      return true;
  }
  return false;
}
