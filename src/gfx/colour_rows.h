#pragma once
// One primitive colour blended into runs of pixels, four at a time, its products with the
// colour's alpha taken once: a disc or a box blends the same colour into every row, and the
// particles' discs are the round's most drawn pixels, mostly in runs of a few pixels. Inline,
// so the constants stay in registers across a shape's rows.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "gfx/gfx_blend.h"

class ColourRows {
 public:
  explicit ColourRows(Colour c) : colour_(c), opaque_((c >> 24) == 255) {
    w_ = Halves{} + static_cast<std::uint16_t>(c >> 24);
    iw_ = 256 - w_;
    const Halves ch = (Halves)(Pixels{} + c);
    low_w_ = (ch & 0xFF) * w_;
    high_w_ = (ch >> 8) * w_;
  }

  // Blends the n pixels from row (an opaque colour replaces them); true when a translucent
  // colour changed any.
  bool blend(Colour* row, int n) const {
    if (opaque_) {
      std::fill(row, row + n, colour_);
      return false;
    }
    Pixels moved{};
    int i = 0;
    for (; i + 4 <= n; i += 4) {
      Pixels d;
      std::memcpy(&d, row + i, sizeof d);
      // (d * (256 - a) + c * a) >> 8 per byte: blue and red in the low bytes of the halves,
      // green and alpha in the high bytes.
      const Halves h = (Halves)d;
      const Pixels out = (Pixels)((((h & 0xFF) * iw_ + low_w_) >> 8) | (((h >> 8) * iw_ + high_w_) & 0xFF00));
      moved |= d ^ out;
      std::memcpy(row + i, &out, sizeof out);
    }
    Colour changed = moved[0] | moved[1] | moved[2] | moved[3];
    for (; i < n; ++i) {
      const Colour out = lerp_colour(row[i], colour_, colour_ >> 24);
      changed |= out ^ row[i];
      row[i] = out;
    }
    return changed != 0;
  }

 private:
  typedef std::uint32_t Pixels __attribute__((vector_size(16)));
  typedef std::uint16_t Halves __attribute__((vector_size(16)));
  Colour colour_;
  bool opaque_;
  Halves w_, iw_, low_w_, high_w_;
};

// The same one pixel at a time: what ColourRows must match bit for bit.
bool row_blend_colour_reference(Colour* row, int n, Colour c);
