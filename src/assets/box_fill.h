#pragma once
// Filled boxes in an opaque colour, pixel for pixel what gfx_line shape 2 draws on the same
// page: corners rounded half away from zero, both ends included, clipped to the page. The
// cloud draws some 350,000 boxes of one or two pixels each, so this stays inline.
#include <algorithm>

#include "base/rounding.h"
#include "gfx/gfx.h"

// The same box from corners already rounded as the layer rounds them.
inline void fill_rounded_box(Image& page, int ax, int ay, int bx, int by, Colour colour) {
  const int left = std::max(std::min(ax, bx), 0), right = std::min(std::max(ax, bx), page.width - 1);
  const int top = std::max(std::min(ay, by), 0), bottom = std::min(std::max(ay, by), page.height - 1);
  for (int y = top; y <= bottom; ++y) {
    Colour* row = page.row(y);
    for (int x = left; x <= right; ++x) row[x] = colour;
  }
}

inline void fill_opaque_box(Image& page, float x1, float y1, float x2, float y2, Colour colour) {
  if ((colour >> 24) != 0xFF) {  // translucent colours blend: leave them to the layer
    gfx_line(&page, x1, y1, x2, y2, colour, kLineFilledBox);
    return;
  }
  fill_rounded_box(page, round_coord(x1), round_coord(y1), round_coord(x2), round_coord(y2), colour);
}
