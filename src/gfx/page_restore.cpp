// Copying a background back onto a page where it was drawn on since.
#include "gfx/page_restore.h"

#include <algorithm>
#include <bit>
#include <cstring>

void attach_drawn(Image& page, DrawnColumns* drawn) {
  page.drawn = page.width <= kDrawnMaxWidth && page.height <= kScreenHeight ? drawn : nullptr;
  if (page.drawn) page.drawn->source = nullptr;
}

void restore_page(Image& page, const Image& source) {
  DrawnColumns* drawn = page.drawn;
  const std::size_t row_bytes = static_cast<std::size_t>(page.width) * sizeof(Colour);
  if (!drawn || drawn->source != &source || drawn->source_stamp != source.stamp) {
    for (int y = 0; y < page.height; ++y) std::memcpy(page.row(y), source.row(y), row_bytes);
    if (drawn) {
      drawn->source = &source;
      drawn->source_stamp = source.stamp;
      std::memset(drawn->rows, 0, sizeof drawn->rows);
    }
    return;
  }
  for (int y = 0; y < page.height; ++y) {
    std::uint64_t bits = drawn->rows[y];
    drawn->rows[y] = 0;
    while (bits) {
      const int first = std::countr_zero(bits);
      const int run = std::countr_one(bits >> first);
      const int x0 = first * kDrawnColumnWidth;
      const int x1 = std::min(page.width, (first + run) * kDrawnColumnWidth);
      std::memcpy(page.row(y) + x0, source.row(y) + x0, static_cast<std::size_t>(x1 - x0) * sizeof(Colour));
      bits = run == 64 ? 0 : bits & ~(((std::uint64_t{1} << run) - 1) << first);
    }
  }
}
