#include <gtest/gtest.h>

#include "line/line_test_support.h"
#include "line/player_line.h"

namespace {

using namespace line_test;

constexpr Colour kBlack = 0xFF000000u;
constexpr Colour kRed = 0xFFFF0000u;

class ThickSegment : public ::testing::Test {
 protected:
  void SetUp() override { fresh_page(); }
  static Colour once() { return gfx_blend_primitive(kBlack, 0x80FF0000u); }
  static Colour twice() { return gfx_blend_primitive(once(), 0x80FF0000u); }
};

TEST_F(ThickSegment, TriangleRowsAreExactSpansDrawnOnce) {
  // Corners (0,0), (10,10), (0,10): row y spans x 0..y.
  fill_triangle(10, 10, 0, 0, 0, 10, 255, 0, 0, 128);
  for (int y = 0; y <= 11; ++y)
    for (int x = 0; x <= 12; ++x)
      ASSERT_EQ(gfx_point(nullptr, x, y), x <= y && y <= 10 ? once() : kBlack) << x << "," << y;
  EXPECT_EQ(count_pixels(once()), 66);
  // A flat triangle is one span.
  fill_triangle(50, 40, 20, 40, 35, 40, 255, 0, 0, 128);
  EXPECT_EQ(count_pixels(once()), 66 + 31);
}

TEST_F(ThickSegment, EdgeStepsAreTruncatedFixedPoint) {
  // The long edge from (10,0) to (7,9) steps -3/9 px a row as -21845 in 16.16 (truncated, not
  // floored), so its pixels land at 9 on row 3 and 8 on row 6, not one further left.
  fill_triangle(10, 0, 20, 6, 7, 9, 255, 0, 0, 255);
  const struct { int x, y; Colour c; } pixels[] = {{9, 3, kRed}, {8, 3, kBlack}, {14, 3, kRed},
      {15, 3, kBlack}, {8, 6, kRed}, {7, 6, kBlack}, {20, 6, kRed}, {7, 9, kRed}, {8, 9, kBlack}};
  for (const auto& p : pixels) EXPECT_EQ(gfx_point(nullptr, p.x, p.y), p.c) << p.x << "," << p.y;
}

TEST_F(ThickSegment, SharedDiagonalIsBlendedTwiceAndTheRestOnce) {
  // A 40x10 bar: corners (140,105), (140,95), (100,95), (100,105); the diagonal passes (120,100).
  draw_thick_segment(100.0f, 100.0f, 140.0f, 100.0f, 10.0f, 255, 0, 0, 128);
  EXPECT_EQ(count_pixels(twice()), 11);  // one pixel of the diagonal per row
  EXPECT_EQ(count_pixels(once()), 41 * 11 - 11);
  EXPECT_EQ(gfx_point(nullptr, 120, 100), twice());
  for (int x : {100, 140}) EXPECT_EQ(gfx_point(nullptr, x, 95), x == 100 ? twice() : once());
  for (int y : {94, 106}) EXPECT_EQ(gfx_point(nullptr, 120, y), kBlack);
}

TEST_F(ThickSegment, CornersRoundHalvesToEven) {
  // Thickness 5 puts the edges at y 97.5 and 102.5, which round to 98 and 102.
  draw_thick_segment(100.0f, 100.0f, 120.0f, 100.0f, 5.0f, 255, 0, 0, 255);
  EXPECT_EQ(count_pixels(kRed), 21 * 5);
  for (int y : {97, 98, 102, 103})
    EXPECT_EQ(gfx_point(nullptr, 110, y), y == 97 || y == 103 ? kBlack : kRed) << y;
}

}  // namespace
