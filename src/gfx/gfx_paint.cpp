// gfx_paint: flood fill by horizontal runs. The whole region is found first and filled
// afterwards, so a translucent fill blends every pixel exactly once.
#include <vector>

#include "gfx/colour_rows.h"
#include "gfx/gfx_internal.h"

namespace {

struct Run {
  int y, x1, x2;
};

// Scratch sized when the display opens: a stamp per pixel (this fill's generation) and the
// list of runs found.
std::vector<std::uint32_t> stamps;
std::vector<Run> runs;
std::uint32_t generation = 0;
int stamp_width = 0;

void ensure_scratch(int width, int height) {
  const std::size_t pixels = static_cast<std::size_t>(width) * height;
  if (stamps.size() < pixels || stamp_width != width) {
    stamps.assign(pixels, 0);
    stamp_width = width;
    generation = 0;
  }
  if (runs.capacity() < pixels / 2 + height) runs.reserve(pixels / 2 + height);
}

}  // namespace

void gfx_internal_prepare(int width, int height) { ensure_scratch(width, height); }

int gfx_paint(Image* target, float x, float y, Colour fill, Colour border) {
  Image* t = gfx_draw_target(target);
  if (!t) return 1;
  const int sx = round_coord(x), sy = round_coord(y);
  if (sx < 0 || sy < 0 || sx >= t->width || sy >= t->height) return 0;
  if (t->row(sy)[sx] == border) return 0;
  ensure_scratch(t->width, t->height);
  if (++generation == 0) {
    std::fill(stamps.begin(), stamps.end(), 0);
    generation = 1;
  }
  const int w = t->width;
  auto stamp = [&](int px, int py) -> std::uint32_t& {
    return stamps[static_cast<std::size_t>(py) * w + px];
  };
  // Records the maximal run through (px, py) and stamps it.
  auto record_run = [&](int px, int py) {
    const Colour* row = t->row(py);
    int a = px, b = px;
    while (a > 0 && row[a - 1] != border) --a;
    while (b < w - 1 && row[b + 1] != border) ++b;
    for (int i = a; i <= b; ++i) stamp(i, py) = generation;
    runs.push_back({py, a, b});
    return b;
  };

  runs.clear();
  record_run(sx, sy);
  for (std::size_t i = 0; i < runs.size(); ++i) {
    const Run run = runs[i];
    for (int ny = run.y - 1; ny <= run.y + 1; ny += 2) {
      if (ny < 0 || ny >= t->height) continue;
      const Colour* row = t->row(ny);
      for (int px = run.x1; px <= run.x2; ++px) {
        if (row[px] != border && stamp(px, ny) != generation) px = record_run(px, ny);
      }
    }
  }
  const ColourRows colour(fill);  // the runs blended four pixels at a time
  for (const Run& run : runs) {
    note_drawn(*t, run.y, run.x1, run.x2);
    colour.blend(t->row(run.y) + run.x1, run.x2 - run.x1 + 1);
  }
  return 0;
}
