#include <gtest/gtest.h>

#include "line/line_test_support.h"
#include "line/player_line.h"

namespace {

using namespace line_test;

constexpr Colour kBlack = 0xFF000000u;
constexpr Colour kHalfRed = 0x80FF0000u;

class ThickSegment : public ::testing::Test {
 protected:
  void SetUp() override { fresh_page(); }
  static Colour once() { return gfx_blend_primitive(kBlack, kHalfRed); }
  static Colour twice() { return gfx_blend_primitive(once(), kHalfRed); }
};

TEST_F(ThickSegment, TriangleRowsAreExactSpansDrawnOnce) {
  // Corners (0,0), (10,10), (0,10): row y spans x 0..y.
  fill_triangle(10, 10, 0, 0, 0, 10, 255, 0, 0, 128);
  for (int y = 0; y <= 10; ++y) {
    for (int x = 0; x <= 12; ++x) {
      const Colour expected = x <= y ? once() : kBlack;
      ASSERT_EQ(gfx_point(nullptr, x, y), expected) << x << "," << y;
    }
  }
  EXPECT_EQ(gfx_point(nullptr, 0, 11), kBlack);
  EXPECT_EQ(count_pixels(once()), 66);
}

TEST_F(ThickSegment, EdgeStepsAreTruncatedFixedPoint) {
  // The long edge from (10,0) to (7,9) steps -3/9 px a row as -21845 in 16.16 (truncated, not
  // floored), so its pixels land at 9 on row 3 and 8 on row 6, not one further left.
  fill_triangle(10, 0, 20, 6, 7, 9, 255, 0, 0, 255);
  EXPECT_EQ(gfx_point(nullptr, 9, 3), 0xFFFF0000u);
  EXPECT_EQ(gfx_point(nullptr, 8, 3), kBlack);
  EXPECT_EQ(gfx_point(nullptr, 14, 3), 0xFFFF0000u);
  EXPECT_EQ(gfx_point(nullptr, 15, 3), kBlack);
  EXPECT_EQ(gfx_point(nullptr, 8, 6), 0xFFFF0000u);
  EXPECT_EQ(gfx_point(nullptr, 7, 6), kBlack);
  EXPECT_EQ(gfx_point(nullptr, 20, 6), 0xFFFF0000u);
  EXPECT_EQ(gfx_point(nullptr, 7, 9), 0xFFFF0000u);
  EXPECT_EQ(gfx_point(nullptr, 8, 9), kBlack);
}

TEST_F(ThickSegment, FlatTriangleDrawsOneSpan) {
  fill_triangle(50, 40, 20, 40, 35, 40, 255, 0, 0, 128);
  EXPECT_EQ(count_pixels(once()), 31);
  EXPECT_EQ(gfx_point(nullptr, 20, 40), once());
  EXPECT_EQ(gfx_point(nullptr, 50, 40), once());
}

TEST_F(ThickSegment, SharedDiagonalIsBlendedTwiceAndTheRestOnce) {
  // A 40x10 horizontal bar: corners (140,105), (140,95), (100,95), (100,105).
  draw_thick_segment(100.0f, 100.0f, 140.0f, 100.0f, 10.0f, 255, 0, 0, 128);
  for (int y = 95; y <= 105; ++y) {
    for (int x = 100; x <= 140; ++x) {
      const Colour c = gfx_point(nullptr, x, y);
      ASSERT_TRUE(c == once() || c == twice()) << x << "," << y;
    }
  }
  EXPECT_EQ(gfx_point(nullptr, 99, 100), kBlack);
  EXPECT_EQ(gfx_point(nullptr, 141, 100), kBlack);
  EXPECT_EQ(gfx_point(nullptr, 120, 94), kBlack);
  EXPECT_EQ(gfx_point(nullptr, 120, 106), kBlack);
  // The diagonal from (100,95) to (140,105) passes (120,100).
  EXPECT_EQ(gfx_point(nullptr, 120, 100), twice());
  EXPECT_EQ(gfx_point(nullptr, 130, 97), once());
  EXPECT_EQ(gfx_point(nullptr, 110, 103), once());
  // One pixel of the diagonal per row, no more.
  EXPECT_EQ(count_pixels(twice()), 11);
  EXPECT_EQ(count_pixels(once()), 41 * 11 - 11);
}

TEST_F(ThickSegment, CornersRoundHalvesToEven) {
  // Thickness 5 puts the edges at y 97.5 and 102.5, which round to 98 and 102.
  draw_thick_segment(100.0f, 100.0f, 120.0f, 100.0f, 5.0f, 255, 0, 0, 255);
  for (int x = 100; x <= 120; ++x) {
    EXPECT_EQ(gfx_point(nullptr, x, 97), kBlack) << x;
    EXPECT_EQ(gfx_point(nullptr, x, 98), 0xFFFF0000u) << x;
    EXPECT_EQ(gfx_point(nullptr, x, 102), 0xFFFF0000u) << x;
    EXPECT_EQ(gfx_point(nullptr, x, 103), kBlack) << x;
  }
}

}  // namespace
