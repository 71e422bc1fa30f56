// The contact test of balls and powerups: the line's two colours at the centre or on either
// diagonal up to 4 pixels out, read from the work page where the coordinates round.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <utility>

#include "gfx/gfx.h"
#include "sensing/sensing.h"

namespace {

class Sensing : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(gfx_open_screen(640, 480, 32, 2, kGfxAlphaPrimitives, 0), 0);
    gfx_set_pages(1, 0);  // the work page is page 1: the one the reads must look at
    clear();
  }
  static void clear() {
    for (int p : {0, 1}) std::fill(gfx_page(p)->pixels.begin(), gfx_page(p)->pixels.end(), 0xFF203040u);
  }
  static void put(int page, int x, int y, Colour c) { gfx_page(page)->row(y)[x] = c; }
};

TEST_F(Sensing, EachOfTheSeventeenPointsFindsEitherLineColour) {
  for (Colour c : {kLineBodyColour, kGunTipColour})
    for (int r = 0; r <= 4; ++r)
      for (const auto& [sx, sy] : {std::pair{-1, 1}, std::pair{1, -1}, std::pair{-1, -1}, std::pair{1, 1}}) {
        clear();
        put(1, 300 + sx * r, 200 + sy * r, c);
        EXPECT_TRUE(diagonals_touch_line(300.0f, 200.0f)) << "colour " << std::hex << c << std::dec << " at " << sx * r << "," << sy * r;
        // The same pixel on the page not being drawn is not seen.
        clear();
        put(0, 300 + sx * r, 200 + sy * r, c);
        EXPECT_FALSE(diagonals_touch_line(300.0f, 200.0f)) << "shown page, " << sx * r << "," << sy * r;
      }
}

TEST_F(Sensing, FiveOutOffTheDiagonalsOrAnotherColourIsNoContact) {
  for (const auto& [dx, dy, c] : {std::tuple{5, 5, kLineBodyColour}, std::tuple{-5, 5, kGunTipColour}, std::tuple{2, 0, kLineBodyColour},
                                  std::tuple{0, -3, kGunTipColour}, std::tuple{1, 2, kLineBodyColour}, std::tuple{0, 0, kLineBodyColour ^ 1u}}) {
    clear();
    put(1, 300 + dx, 200 + dy, c);
    EXPECT_FALSE(diagonals_touch_line(300.0f, 200.0f)) << dx << "," << dy;
  }
}

TEST_F(Sensing, PointsRoundHalfAwayFromZeroAndStopAtThePageEdge) {
  put(1, 301, 200, kLineBodyColour);
  EXPECT_TRUE(diagonals_touch_line(300.5f, 199.6f));   // the centre rounds to 301, 200
  EXPECT_FALSE(diagonals_touch_line(300.49f, 200.0f));
  clear();
  put(1, 0, 3, kLineBodyColour);
  EXPECT_TRUE(diagonals_touch_line(-1.0f, 4.0f));   // the diagonal up and right reaches the page
  EXPECT_FALSE(diagonals_touch_line(-6.0f, 4.0f));  // off the page every point reads as white
}

}  // namespace
