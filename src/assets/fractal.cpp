// The fractal cloud backgrounds, by midpoint displacement.
#include "assets/fractal.h"

#include <cmath>
#include <vector>

#include "assets/box_fill.h"
#include "assets/fast_round.h"
#include "assets/images.h"
#include "assets/palette.h"
#include "base/random.h"
#include "base/rounding.h"
#include "gfx/gfx.h"

namespace {

// The height grid, [x][y] over 0..width and 0..height, kept row by row in memory because every
// pass walks x fastest. Cells are addressed by fractional coordinates rounded half to even, so
// neighbouring cells of a fine level can land on the same grid entry; the order of writes below
// is what decides which value stays.
struct HeightGrid {
  std::int32_t columns;  // width + 1
  std::vector<double> cells;
  double& at(double x, double y) {
    return cells[static_cast<std::size_t>(round_even_fast(y)) * columns + static_cast<std::size_t>(round_even_fast(x))];
  }
};

// One column (or row) of a draw pass: its grid index and the pixels its boxes span, each
// corner taken to single precision and rounded as gfx_line rounds it.
struct BoxSpan {
  std::int32_t grid, first_pixel, last_pixel;
};

std::vector<BoxSpan> box_spans(double extent, double step) {
  std::vector<BoxSpan> spans;
  for (double v = 0; v <= extent - 1; v += step)
    spans.push_back({round_even_fast(v), round_coord(static_cast<float>(v)), round_coord(static_cast<float>(v + step))});
  return spans;
}

double displaced(double mean, std::int32_t spread, std::int32_t rough) {
  double v = std::floor(rnd() * spread) + mean - rough;
  if (v < 0) v = 0;
  if (v > 255) v = 255;
  return v;
}

// Four corner heights drawn bottom-left, bottom-right, top-right, top-left, then the cloud.
void draw_seeded_fractal(double seed, int blue, int green, int red) {
  randomize(seed);
  build_palette(blue, green, red);
  const std::int32_t bottom_left = floor_int(rnd() * 256), bottom_right = floor_int(rnd() * 256);
  const std::int32_t top_right = floor_int(rnd() * 256), top_left = floor_int(rnd() * 256);
  draw_midpoint_fractal(640, 480, top_left, top_right, bottom_right, bottom_left, 300, 8, 0.5);
}

void fill_black() { gfx_line(nullptr, 0, 0, 639, 479, 0xFF000000u, kLineFilledBox); }

// Captures the picture, then captures it again dimmed over black.
void capture_darkened(int element, int alpha) {
  Image* image = background_images[element];
  gfx_get(nullptr, 0, 0, 639, 479, image);
  fill_black();
  gfx_put(nullptr, 0, 0, image, kPutBlend, alpha);
  gfx_get(nullptr, 0, 0, 639, 479, image);
}

}  // namespace

void draw_midpoint_fractal(std::int32_t width, std::int32_t height, std::int32_t c1, std::int32_t c2,
                           std::int32_t c3, std::int32_t c4, std::int32_t roughness, std::int32_t levels,
                           double decay) {
  if (!gfx_screen_open()) return;
  Image& page = *gfx_page(gfx_work_page_index());
  const double w = width, h = height;
  HeightGrid grid{width + 1, std::vector<double>(static_cast<std::size_t>(width + 1) * (height + 1), 0.0)};
  std::int32_t rough = roughness;
  std::int32_t spread = 2 * rough;

  grid.at(0, 0) = c1;
  grid.at(w, 0) = c2;
  grid.at(w, h) = c3;
  grid.at(0, h) = c4;
  const double e1 = (c2 + c1) / 2.0, e2 = (c3 + c2) / 2.0, e3 = (c4 + c3) / 2.0, e4 = (c1 + c4) / 2.0;
  grid.at(w / 2, 0) = e1;
  grid.at(w, h / 2) = e2;
  grid.at(w / 2, h) = e3;
  grid.at(0, h / 2) = e4;
  grid.at(w / 2, h / 2) = displaced((e2 + e1 + e3 + e4) / 4, spread, rough);

  double sx = w / 2, sy = h / 2;
  for (std::int32_t level = 1; level <= levels; ++level) {
    for (double y = 0; y <= h - 1; y += sy) {
      for (double x = 0; x <= w - 1; x += sx) {
        const double a = grid.at(x, y), b = grid.at(x + sx, y), c = grid.at(x + sx, y + sy),
                     d = grid.at(x, y + sy);
        const double top = (b + a) / 2, right = (c + b) / 2, bottom = (d + c) / 2, left = (a + d) / 2;
        grid.at(x + sx / 2, y) = top;
        grid.at(x + sx, y + sy / 2) = right;
        grid.at(x + sx / 2, y + sy) = bottom;
        grid.at(x, y + sy / 2) = left;
        grid.at(x + sx / 2, y + sy / 2) = displaced((top + right + bottom + left) / 4, spread, rough);
      }
    }
    sx /= 2;
    sy /= 2;
    spread = rough;
    rough = round_even(rough * decay);
    // Draw pass: the box from (x, y) to (x + sx, y + sy) in the colour of grid[x][y]. Every row
    // of boxes steps x through the same values, so their roundings are worked out once.
    const std::vector<BoxSpan> columns = box_spans(w, sx), rows = box_spans(h, sy);
    for (const BoxSpan& row : rows)
      for (const BoxSpan& column : columns)
        fill_rounded_box(page, column.first_pixel, row.first_pixel, column.last_pixel, row.last_pixel,
                         palette[round_even_fast(grid.cells[static_cast<std::size_t>(row.grid) * grid.columns +
                                                            static_cast<std::size_t>(column.grid)])]);
  }
}

void draw_fractal_backgrounds() {
  draw_seeded_fractal(16569, 150, 215, 216);
  capture_darkened(3, 74);
  fill_black();
  draw_seeded_fractal(5155, 233, 240, 113);
  capture_darkened(4, 85);
}
