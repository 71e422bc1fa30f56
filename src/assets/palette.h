#pragma once
// The 256-colour ramp the fractal clouds are painted with, rebuilt for each fractal.
#include "gfx/gfx.h"

extern Colour palette[256];

// Channels start at the given values and bounce between 0 and 255 in steps of 2
// (blue and green first go down, red goes up).
void build_palette(int blue, int green, int red);
