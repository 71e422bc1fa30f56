#include "assets/box_fill.h"

#include <algorithm>

#include "frame/rounding.h"

void fill_opaque_box(Image& page, float x1, float y1, float x2, float y2, Colour colour) {
  if ((colour >> 24) != 0xFF) {  // translucent colours blend: leave them to the layer
    gfx_line(&page, x1, y1, x2, y2, colour, kLineFilledBox);
    return;
  }
  const int ax = round_coord(x1), ay = round_coord(y1), bx = round_coord(x2), by = round_coord(y2);
  const int left = std::max(std::min(ax, bx), 0), right = std::min(std::max(ax, bx), page.width - 1);
  const int top = std::max(std::min(ay, by), 0), bottom = std::min(std::max(ay, by), page.height - 1);
  for (int y = top; y <= bottom; ++y) {
    Colour* row = page.row(y);
    for (int x = left; x <= right; ++x) row[x] = colour;
  }
}
