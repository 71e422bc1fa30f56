// The colour ramp the fractal clouds are painted with.
#include "assets/palette.h"

Colour palette[256];

namespace {

// One step of a bouncing channel; the bounce sets the value to the edge it crossed.
void bounce(int& value, int& step) {
  value += step;
  if (value < 0) {
    value = 0;
    step = 2;
  } else if (value > 255) {
    value = 255;
    step = -2;
  }
}

}  // namespace

void build_palette(int blue, int green, int red) {
  int blue_step = -2, green_step = -2, red_step = 2;
  for (int i = 0; i <= 255; ++i) {
    bounce(blue, blue_step);
    bounce(green, green_step);
    bounce(red, red_step);
    palette[i] = 0xFF000000u + static_cast<Colour>(red) * 0x10000u + static_cast<Colour>(green) * 0x100u +
                 static_cast<Colour>(blue);
  }
}
