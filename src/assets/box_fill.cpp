#include "assets/box_fill.h"

void fill_opaque_box(float x1, float y1, float x2, float y2, Colour colour) {
  gfx_line(nullptr, x1, y1, x2, y2, colour, kLineFilledBox);
}
