#pragma once
// Filled boxes in an opaque colour, pixel for pixel what gfx_line shape 2 draws on the same
// page: corners rounded half away from zero, both ends included, clipped to the page. The
// cloud draws some 350,000 boxes of one or two pixels, so the call overhead is the cost.
#include "frame/gfx.h"

void fill_opaque_box(Image& page, float x1, float y1, float x2, float y2, Colour colour);
