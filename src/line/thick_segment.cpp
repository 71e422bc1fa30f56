// Thick segments as two filled triangles. The rasterisation is integer 16.16 fixed point so
// that the line's pixels, which balls sense by colour, land in exactly the same place on
// every machine.
#include <cmath>
#include <cstdint>

#include "base/rounding.h"
#include "gfx/gfx.h"
#include "line/player_line.h"

namespace {

// x << 16 without relying on how signed overflow of a shift is treated.
std::int32_t to_fixed(std::int32_t v) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(v) << 16);
}

// 16.16 step of one edge: a 32-bit division truncating toward zero, 0 for an edge with no height.
std::int32_t edge_step(std::int32_t dx, std::int32_t dy) {
  return dy == 0 ? 0 : to_fixed(dx) / dy;
}

}  // namespace

void draw_thick_segment(float x1, float y1, float x2, float y2, float thickness, int r, int g,
                        int b, int a) {
  float nx = y1 - y2;
  float ny = x2 - x1;
  const float len = std::sqrt(nx * nx + ny * ny);
  if (len == 0.0f) return;  // a point has no normal; the line never asks for one
  nx = nx / len;
  ny = ny / len;
  const float ox = thickness / 2.0f * nx;
  const float oy = thickness / 2.0f * ny;
  const std::int32_t p1x = round_even(x2 + ox), p1y = round_even(y2 + oy);
  const std::int32_t p2x = round_even(x2 - ox), p2y = round_even(y2 - oy);
  const std::int32_t p3x = round_even(x1 - ox), p3y = round_even(y1 - oy);
  const std::int32_t p4x = round_even(x1 + ox), p4y = round_even(y1 + oy);
  // Each triangle is filled on its own, so the shared diagonal is drawn twice.
  fill_triangle(p1x, p1y, p2x, p2y, p3x, p3y, r, g, b, a);
  fill_triangle(p3x, p3y, p1x, p1y, p4x, p4y, r, g, b, a);
}

void fill_triangle(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                   std::int32_t x3, std::int32_t y3, int r, int g, int b, int a) {
  auto swap_corners = [](std::int32_t& ax, std::int32_t& ay, std::int32_t& bx, std::int32_t& by) {
    const std::int32_t tx = ax, ty = ay;
    ax = bx;
    ay = by;
    bx = tx;
    by = ty;
  };
  if (y2 < y1) swap_corners(x1, y1, x2, y2);
  if (y3 < y1) swap_corners(x1, y1, x3, y3);
  if (y3 < y2) swap_corners(x2, y2, x3, y3);

  const Colour colour = static_cast<Colour>(a) << 24 | static_cast<Colour>(r) << 16 |
                        static_cast<Colour>(g) << 8 | static_cast<Colour>(b);
  const std::int32_t s12 = edge_step(x2 - x1, y2 - y1);
  const std::int32_t s23 = edge_step(x3 - x2, y3 - y2);
  const std::int32_t s13 = edge_step(x1 - x3, y1 - y3);

  // Every row from y1 to y3 gets exactly one span, so a translucent colour blends once a row.
  std::int32_t xa = to_fixed(x1);
  std::int32_t xb = xa;
  for (std::int32_t y = y1; y <= y2 - 1; ++y) {
    gfx_line(nullptr, static_cast<float>(xa >> 16), static_cast<float>(y),
             static_cast<float>(xb >> 16), static_cast<float>(y), colour, kLinePlain);
    xa += s12;
    xb += s13;
  }
  xa = to_fixed(x2);
  for (std::int32_t y = y2; y <= y3; ++y) {
    gfx_line(nullptr, static_cast<float>(xa >> 16), static_cast<float>(y),
             static_cast<float>(xb >> 16), static_cast<float>(y), colour, kLinePlain);
    xa += s23;
    xb += s13;
  }
}
