#include "line/line_test_support.h"
#include "line/player_line.h"

namespace {

using namespace line_test;
using ThickSegment = LineTest;

constexpr Colour kRed = 0xFFFF0000u;
const Colour kOnce = gfx_blend_primitive(kBlack, 0x80FF0000u), kTwice = gfx_blend_primitive(kOnce, 0x80FF0000u);

TEST_F(ThickSegment, TriangleRowsAreExactSpansDrawnOnce) {
  // Corners (0,0), (10,10), (0,10): row y spans x 0..y.
  fill_triangle(10, 10, 0, 0, 0, 10, 255, 0, 0, 128);
  for (int y = 0; y <= 11; ++y)
    for (int x = 0; x <= 12; ++x)
      ASSERT_EQ(gfx_point(nullptr, x, y), x <= y && y <= 10 ? kOnce : kBlack) << x << "," << y;
  fill_triangle(50, 40, 20, 40, 35, 40, 255, 0, 0, 128);  // a flat triangle is one span
  EXPECT_EQ(count_pixels(kOnce), 66 + 31);
}

TEST_F(ThickSegment, EdgeStepsAreTruncatedFixedPoint) {
  // The long edge from (10,0) to (7,9) steps -3/9 px a row as -21845 in 16.16 (truncated, not
  // floored), so its pixels land at 9 on row 3 and 8 on row 6, not one further left.
  fill_triangle(10, 0, 20, 6, 7, 9, 255, 0, 0, 255);
  const struct { int x, y; Colour c; } pixels[] = {{9, 3, kRed}, {8, 3, kBlack}, {14, 3, kRed}, {15, 3, kBlack},
      {8, 6, kRed}, {7, 6, kBlack}, {20, 6, kRed}, {7, 9, kRed}, {8, 9, kBlack}};
  for (const auto& p : pixels) EXPECT_EQ(gfx_point(nullptr, p.x, p.y), p.c) << p.x << "," << p.y;
}

TEST_F(ThickSegment, SharedDiagonalIsBlendedTwiceAndTheRestOnceWithCornersRoundedHalfToEven) {
  // A 40x10 bar: corners (140,105), (140,95), (100,95), (100,105); the diagonal passes (120,100).
  draw_thick_segment(100.0f, 100.0f, 140.0f, 100.0f, 10.0f, 255, 0, 0, 128);
  EXPECT_EQ(std::pair(count_pixels(kTwice), count_pixels(kOnce)), std::pair(11, 41 * 11 - 11));  // one per row
  EXPECT_EQ(gfx_point(nullptr, 120, 100), kTwice);
  EXPECT_EQ(gfx_point(nullptr, 100, 95), kTwice);
  // Thickness 5 puts the edges at y 97.5 and 102.5, which round to 98 and 102.
  clear_page(kBlack);
  draw_thick_segment(100.0f, 100.0f, 120.0f, 100.0f, 5.0f, 255, 0, 0, 255);
  EXPECT_EQ(count_pixels(kRed), 21 * 5);
  for (int y : {97, 98, 102, 103}) EXPECT_EQ(gfx_point(nullptr, 110, y), y == 97 || y == 103 ? kBlack : kRed) << y;
}

}  // namespace
