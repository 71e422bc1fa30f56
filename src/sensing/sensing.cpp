// The contact test of balls and powerups against the line's colours.
#include "sensing/sensing.h"

bool diagonals_touch_line(float x, float y) {
  const Image* page = gfx_reading_page();  // looked up once for the 17 points
  auto is_line = [page](float px, float py) {
    const Colour c = gfx_point_of(page, px, py);
    return c == kLineBodyColour || c == kGunTipColour;
  };
  if (is_line(x, y)) return true;
  for (int r = 1; r <= 4; ++r) {
    const float fr = static_cast<float>(r);
    if (is_line(x - fr, y + fr) || is_line(x + fr, y - fr) || is_line(x - fr, y - fr) || is_line(x + fr, y + fr))
      return true;
  }
  return false;
}
