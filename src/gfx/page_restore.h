#pragma once
// Putting a page back to its background without copying all of it. A round frame starts by
// copying the whole background onto the page (put mode 1); most of the page was left exactly
// so by the last frame drawn on it, as every frame draws over small parts. Each page therefore
// notes, in columns of 16 pixels per row, everything drawn on it since the last such copy, and
// the next copy of the same, unchanged image brings back only those columns.
#include <cstdint>

#include "gfx/gfx.h"

inline constexpr int kDrawnColumnWidth = 16;
inline constexpr int kDrawnMaxWidth = 64 * kDrawnColumnWidth;

struct DrawnColumns {
  const Image* source = nullptr;  // the image last copied whole onto the page; null: none
  std::uint64_t source_stamp = 0;
  std::uint64_t rows[kScreenHeight] = {};  // bit k: columns 16k .. 16k + 15 drawn on
};

// Notes pixels xa..xb (in the page, xa <= xb) of row y as drawn on. In the page they are never
// negative, so the column is an unsigned quotient: a plain shift, on every span and line pixel.
inline void note_drawn(Image& t, int y, int xa, int xb) {
  if (!t.drawn) return;
  const unsigned a = static_cast<unsigned>(xa) / kDrawnColumnWidth, b = static_cast<unsigned>(xb) / kDrawnColumnWidth;
  t.drawn->rows[y] |= ((std::uint64_t{2} << b) - 1) & ~((std::uint64_t{1} << a) - 1);
}
// The same for the one pixel x.
inline void note_drawn_pixel(Image& t, int y, int x) {
  if (t.drawn) t.drawn->rows[y] |= std::uint64_t{1} << (static_cast<unsigned>(x) / kDrawnColumnWidth);
}
inline void note_drawn_rect(Image& t, int x0, int y0, int x1, int y1) {
  if (t.drawn)
    for (int y = y0; y <= y1; ++y) note_drawn(t, y, x0, x1);
}
// The page no longer holds a known image anywhere.
inline void forget_drawn(Image& t) {
  if (t.drawn) t.drawn->source = nullptr;
}
// Makes the page equal to source (an image of the page's size, put whole at 0, 0 in mode 1).
void restore_page(Image& page, const Image& source);
// The page's bookkeeping, or none for a page the columns cannot cover.
void attach_drawn(Image& page, DrawnColumns* drawn);
