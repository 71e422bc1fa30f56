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

  // Blends the n pixels from row (an opaque colour replaces them).
  void blend(Colour* row, int n) const { run<false>(row, n); }
  // The same, and true when a translucent colour changed any pixel (a settled box's test).
  bool blend_changed(Colour* row, int n) const { return run<true>(row, n); }

 private:
  typedef std::uint32_t Pixels __attribute__((vector_size(16)));
  typedef std::uint16_t Halves __attribute__((vector_size(16)));

  // (d * (256 - a) + c * a) >> 8 per byte: blue and red in the low bytes of the halves, green
  // and alpha in the high bytes.
  Pixels lane(Pixels d) const {
    const Halves h = (Halves)d;
    return (Pixels)((((h & 0xFF) * iw_ + low_w_) >> 8) | (((h >> 8) * iw_ + high_w_) & 0xFF00));
  }

  // A run of four or more ends with a lane over its last four pixels, worked out before the
  // run is touched: the pixels it shares with the lane before come out the same either way,
  // and the odd last pixels of a disc's rows skip the per-pixel loop.
  template <bool kTrack>
  [[gnu::always_inline]] bool run(Colour* row, int n) const {
    if (opaque_) {
      std::fill(row, row + n, colour_);
      return false;
    }
    if (n < 4) {
      Colour changed = 0;
      for (int i = 0; i < n; ++i) {
        const Colour out = lerp_colour(row[i], colour_, colour_ >> 24);
        if (kTrack) changed |= out ^ row[i];
        row[i] = out;
      }
      return changed != 0;
    }
    const int last = n - 4;
    Pixels d, out;
    std::memcpy(&d, row + last, sizeof d);
    const Pixels end = lane(d);
    Pixels moved = d ^ end;
    for (int i = 0; i < last; i += 4) {
      std::memcpy(&d, row + i, sizeof d);
      out = lane(d);
      if (kTrack) moved |= d ^ out;
      std::memcpy(row + i, &out, sizeof out);
    }
    std::memcpy(row + last, &end, sizeof end);
    return kTrack && (moved[0] | moved[1] | moved[2] | moved[3]) != 0;
  }

  Colour colour_;
  bool opaque_;
  Halves w_, iw_, low_w_, high_w_;
};

// The same one pixel at a time: what ColourRows must match bit for bit.
bool row_blend_colour_reference(Colour* row, int n, Colour c);
