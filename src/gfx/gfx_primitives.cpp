// Pixels, lines, boxes, discs, text and the clear of the presentation layer.
#include <algorithm>
#include <bit>
#include <cmath>

#include "gfx/colour_rows.h"
#include "gfx/font8x8.h"
#include "gfx/gfx_internal.h"
#include "gfx/pixel_rows.h"

namespace {

// One clipped horizontal run, every pixel blended once. kTrack: true when a translucent colour
// changed a pixel (only a filled box asks; discs skip the bookkeeping).
template <bool kTrack = false>
bool fill_span(Image& t, int y, int xa, int xb, const ColourRows& c) {
  if (y < 0 || y >= t.height) return false;
  if (xa > xb) std::swap(xa, xb);
  xa = std::max(xa, 0);
  xb = std::min(xb, t.width - 1);
  if (xa > xb) return false;
  note_drawn(t, y, xa, xb);
  if (kTrack) return c.blend_changed(t.row(y) + xa, xb - xa + 1);
  c.blend(t.row(y) + xa, xb - xa + 1);
  return false;
}

// A translucent filled box on the work page that changed no pixel, with the stamp it left on
// the page: drawn again with nothing drawn in between, it would change nothing again. The
// energy bar blends one box up to a hundred times a frame; its pixels settle within a few.
struct SettledBox {
  const Image* page = nullptr;
  std::uint64_t stamp = 0;
  int ax = 0, ay = 0, bx = 0, by = 0;
  Colour colour = 0;
  bool is(const Image* t, int x1, int y1, int x2, int y2, Colour c) const {
    return page == t && stamp == t->stamp && ax == x1 && ay == y1 && bx == x2 && by == y2 && colour == c;
  }
};
SettledBox settled;

int filled_box(Image* target, Image& t, int ax, int ay, int bx, int by, Colour colour) {
  // Only boxes given to the work page by the layer: pixels written straight into a page
  // (gfx_page) carry no stamp, so the page must not have been handed out since the last unlock.
  const bool tracked = !target && (colour >> 24) != 255 && !gfx_pages_handed_out();
  const bool again = tracked && settled.is(&t, ax, ay, bx, by, colour);
  t.stamp = gfx_new_stamp();
  if (again) {
    settled.stamp = t.stamp;
    return 0;
  }
  bool changed = false;
  const ColourRows rows(colour);
  const int top = std::max(std::min(ay, by), 0), bottom = std::min(std::max(ay, by), t.height - 1);
  for (int y = top; y <= bottom; ++y) changed = fill_span<true>(t, y, ax, bx, rows) || changed;
  settled = tracked && !changed ? SettledBox{&t, t.stamp, ax, ay, bx, by, colour} : SettledBox{};
  return 0;
}

void plot_clipped(Image& t, int x, int y, Colour c) {
  if (x >= 0 && y >= 0 && x < t.width && y < t.height) plot_unchecked(t, x, y, c);
}

// A line's walk over the steps first..last where its long axis is on the page: both
// coordinates carried along, the short one moving by one whenever rest reaches whole.
struct Walk {
  std::int64_t first, last;
  std::int64_t along;  // long-axis coordinate at step first
  int dir;
  std::int64_t aside;  // short-axis coordinate at step first
  int side;
  std::int64_t side_extent;
  std::int64_t rest, rest_step, whole;
};

inline bool dash_on(int style, std::int64_t i) {
  return (style >> (15u - static_cast<unsigned>(i & 15))) & 1;
}

// A line more wide than tall: its pixels come in runs along a row, so each run is noted as
// drawn once, not pixel by pixel. kDashed: the style has gaps (a solid line skips the test).
template <bool kDashed>
void walk_rows(Image& t, Walk w, Colour c, int style) {
  std::int64_t x = w.along, y = w.aside, rest = w.rest;
  Colour* row = y >= 0 && y < w.side_extent ? t.row(static_cast<int>(y)) : nullptr;
  std::int64_t run_lo = t.width, run_hi = -1;  // the pixels plotted in this row
  for (std::int64_t i = w.first; i <= w.last; ++i) {
    if (row && (!kDashed || dash_on(style, i))) {
      row[x] = blend_primitive(row[x], c);
      run_lo = std::min(run_lo, x);
      run_hi = std::max(run_hi, x);
    }
    x += w.dir;
    rest += w.rest_step;
    if (rest >= w.whole) {
      rest -= w.whole;
      if (run_hi >= 0) note_drawn(t, static_cast<int>(y), static_cast<int>(run_lo), static_cast<int>(run_hi));
      run_lo = t.width;
      run_hi = -1;
      y += w.side;
      row = y >= 0 && y < w.side_extent ? t.row(static_cast<int>(y)) : nullptr;
    }
  }
  if (run_hi >= 0) note_drawn(t, static_cast<int>(y), static_cast<int>(run_lo), static_cast<int>(run_hi));
}

// A line at least as tall as wide: one pixel a row.
template <bool kDashed>
void walk_columns(Image& t, Walk w, Colour c, int style) {
  std::int64_t y = w.along, x = w.aside, rest = w.rest;
  for (std::int64_t i = w.first; i <= w.last; ++i) {
    if (x >= 0 && x < w.side_extent && (!kDashed || dash_on(style, i)))
      plot_unchecked(t, static_cast<int>(x), static_cast<int>(y), c);
    y += w.dir;
    rest += w.rest_step;
    if (rest >= w.whole) {
      rest -= w.whole;
      x += w.side;
    }
  }
}

// The plain line from (x1, y1) to (x2, y2), walked only where it can touch the page: the
// pixel a full walk plots at step i is found directly, so far-off end points cost nothing.
// Along the long axis every step moves one pixel; the short axis has moved, after i steps,
// floor((2 * short * i + long) / (2 * long)) pixels. Products stay below 2^63 because the
// end points are within +-1e9.
void bresenham(Image& t, std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2, Colour c,
               int style) {
  const std::int64_t dx = x2 > x1 ? x2 - x1 : x1 - x2, dy = y2 > y1 ? y2 - y1 : y1 - y2;
  const int step_x = x1 < x2 ? 1 : -1, step_y = y1 < y2 ? 1 : -1;
  const bool x_major = dx >= dy;
  const std::int64_t length = x_major ? dx : dy, across = x_major ? dy : dx;
  // The steps at which the long axis is on the page.
  const std::int64_t start = x_major ? x1 : y1, extent = x_major ? t.width : t.height;
  const int dir = x_major ? step_x : step_y;
  std::int64_t first = dir > 0 ? -start : start - (extent - 1);
  std::int64_t last = dir > 0 ? extent - 1 - start : start;
  first = std::max<std::int64_t>(first, 0);
  last = std::min(last, length);
  if (first > last) return;
  // The short axis's move as quotient and remainder of that fraction, divided once at the
  // first step and then carried along: 2 * across never exceeds 2 * length, so a step carries
  // at most one.
  const std::int64_t whole = 2 * length;
  std::int64_t moved = 0, rest = length;
  // A line that starts on the page (most do) starts with no move and half a step: no division.
  if (first > 0) {
    const std::int64_t start_fraction = 2 * across * first + length;
    moved = start_fraction / whole;
    rest = start_fraction % whole;
  }
  const std::int64_t side_extent = x_major ? t.height : t.width;
  const std::int64_t along = start + dir * first, aside = (x_major ? y1 : x1) + (x_major ? step_y : step_x) * moved;
  const Walk walk{first, last, along, dir, aside, x_major ? step_y : step_x, side_extent, rest, 2 * across, whole};
  const bool dashed = style != 0xFFFF;
  if (x_major)
    dashed ? walk_rows<true>(t, walk, c, style) : walk_rows<false>(t, walk, c, style);
  else
    dashed ? walk_columns<true>(t, walk, c, style) : walk_columns<false>(t, walk, c, style);
}

}  // namespace

int gfx_pset(Image* target, float x, float y, Colour colour) {
  Image* t = gfx_draw_target(target);
  if (!t) return 1;
  plot_clipped(*t, round_coord(x), round_coord(y), colour);
  return 0;
}

Colour gfx_point(Image* target, float x, float y) { return gfx_point_of(gfx_resolve_target(target), x, y); }

const Image* gfx_reading_page() { return gfx_resolve_target(nullptr); }

int gfx_line(Image* target, float x1, float y1, float x2, float y2, Colour colour, int shape,
             int style) {
  Image* t = gfx_resolve_target(target);
  if (!t) return 1;
  // A NaN end point has no place at all: nothing is drawn.
  if (std::isnan(x1) || std::isnan(y1) || std::isnan(x2) || std::isnan(y2)) return 0;
  const int ax = round_coord(x1), ay = round_coord(y1), bx = round_coord(x2), by = round_coord(y2);
  if (shape == kLineFilledBox) return filled_box(target, *t, ax, ay, bx, by, colour);
  t->stamp = gfx_new_stamp();
  switch (shape) {
    case kLinePlain:
      // A solid row (the triangles of the line's segments are drawn as rows) is one span,
      // blended four pixels at a time: the same pixels as walking it.
      if (ay == by && (style & 0xFFFF) == 0xFFFF) {
        fill_span(*t, ay, ax, bx, ColourRows(colour));
        return 0;
      }
      bresenham(*t, ax, ay, bx, by, colour, style & 0xFFFF);
      return 0;
    case kLineBox: {
      const int left = std::min(ax, bx), right = std::max(ax, bx);
      const int top = std::min(ay, by), bottom = std::max(ay, by);
      const ColourRows rows(colour);
      fill_span(*t, top, left, right, rows);
      if (bottom != top) fill_span(*t, bottom, left, right, rows);
      for (int y = std::max(top + 1, 0); y < std::min(bottom, t->height); ++y) {
        plot_clipped(*t, left, y, colour);
        if (right != left) plot_clipped(*t, right, y, colour);
      }
      return 0;
    }
    default:
      return 1;
  }
}

int gfx_circle(Image* target, float x, float y, float radius, Colour colour) {
  Image* t = gfx_draw_target(target);
  if (!t) return 1;
  const int cx = round_coord(x), cy = round_coord(y);
  const double r = radius;
  if (!(r >= 0.0) || r > 1e6) return 1;
  // The disc is traced with the integer error terms below; every row is filled once.
  std::int64_t x1 = static_cast<std::int64_t>(cx - r), x2 = static_cast<std::int64_t>(cx + r);
  const ColourRows rows(colour);
  fill_span(*t, cy, static_cast<int>(x1), static_cast<int>(x2), rows);
  if (r == 0.0) return 0;
  // Every later row is narrower than the first, so when the first row's columns are all on the
  // page only the rows need clipping: the particles' discs, most of a frame's spans.
  const bool columns_inside = x1 >= 0 && x2 < t->width;
  auto span = [&](int y) {
    if (!columns_inside) {
      fill_span(*t, y, static_cast<int>(x1), static_cast<int>(x2), rows);
    } else if (y >= 0 && y < t->height) {
      note_drawn(*t, y, static_cast<int>(x1), static_cast<int>(x2));
      rows.blend(t->row(y) + x1, static_cast<int>(x2 - x1 + 1));
    }
  };
  const std::int64_t q = static_cast<std::int64_t>(r * r);
  const std::int64_t dx = 2 * q, dy = 2 * q;
  std::int64_t e = static_cast<std::int64_t>(static_cast<double>(q) * r);
  std::int64_t ex = 2 * e, ey = 0;
  std::int64_t xr = static_cast<std::int64_t>(r);
  int upper = cy, lower = cy, last_filled = cy;
  while (xr > 0) {
    if (e > 0) {
      ++lower;
      --upper;
      ey += dx;
      e -= ey;
    }
    if (e <= 0) {
      --xr;
      ++x1;
      --x2;
      ex -= dy;
      e += ex;
    }
    if (lower != last_filled) {
      span(lower);
      span(upper);
      last_filled = lower;
    }
  }
  return 0;
}

void gfx_cls() {
  Image* t = gfx_draw_target(nullptr);
  if (!t) return;
  std::fill(t->pixels.begin(), t->pixels.end(), 0xFF000000u);
  forget_drawn(*t);
}

void gfx_draw_text(Image* target, float x, float y, std::string_view text, Colour colour) {
  Image* t = gfx_draw_target(target);
  if (!t) return;
  const int left = round_coord(x), top = round_coord(y);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const int cell_x = left + static_cast<int>(i) * 8;
    if (cell_x >= t->width) break;
    if (cell_x + 8 <= 0) continue;
    const std::uint8_t* glyph = font8x8[static_cast<unsigned char>(text[i])];
    const bool inside = cell_x >= 0 && cell_x + 8 <= t->width;
    for (int row = 0; row < 8; ++row) {
      const unsigned bits = glyph[row];
      const int y = top + row;
      if (!bits || y < 0 || y >= t->height) continue;
      if (!inside) {
        for (int col = 0; col < 8; ++col)
          if (bits & (0x80u >> col)) plot_clipped(*t, cell_x + col, y, colour);
        continue;
      }
      // Noted once from the first lit pixel to the last: they are never more than two
      // columns of the page's account apart.
      note_drawn(*t, y, cell_x + std::countl_zero(bits) - 24, cell_x + 7 - std::countr_zero(bits));
      Colour* pixels = t->row(y) + cell_x;
      for (int col = 0; col < 8; ++col)
        if (bits & (0x80u >> col)) pixels[col] = blend_primitive(pixels[col], colour);
    }
  }
}

Colour gfx_blend_primitive(Colour d, Colour c) { return blend_primitive(d, c); }
