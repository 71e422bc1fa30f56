#pragma once
// Filled boxes in an opaque colour on the work page, pixel for pixel what gfx_line shape 2
// draws: corners rounded half away from zero, both ends included, clipped to the page.
#include "frame/gfx.h"

void fill_opaque_box(float x1, float y1, float x2, float y2, Colour colour);
