// Sprites: each a 17x17 capture centred on (8, 8) over the mask colour, letters where the
// icons put them, and the laser glow's exact ramp.
#include <gtest/gtest.h>

#include <utility>

#include "asset_setup.h"

namespace {

TEST(BallSprites, AreCentredOnEightEightWithTheirRingsAndHighlight) {
  ensure_assets_generated();
  // One highlight dot each, in sprite coordinates.
  const struct { int sprite; Colour outer, inner, highlight; int dot_x, dot_y; } balls[] = {
      {1, 0xFF0014D0, 0xFF4F60FF, 0xFF8792FF, 11, 11}, {2, 0xFF009673, 0xFF00E4B1, 0xFF0BFFC8, 11, 11},
      {3, 0xFFB00000, 0xFFF00000, 0xFFFF7878, 10, 9},  {4, 0xFFBAC600, 0xFFF1FF13, 0xFFF8FF8D, 9, 9},
      {5, 0xFF4E4E4E, 0xFF636363, 0xFF757575, 9, 5},   {7, 0xFFA10098, 0xFFF520F2, 0xFFFF87F8, 11, 11},
  };
  for (const auto& b : balls) {
    SCOPED_TRACE(b.sprite);
    const Image* s = ball_sprites[b.sprite];
    ASSERT_EQ(s->width, 17);
    ASSERT_EQ(s->height, 17);
    EXPECT_EQ(at(s, 8, 8), b.inner);
    EXPECT_EQ(at(s, b.dot_x, b.dot_y), b.highlight);
    // The radius-7 disc reaches one pixel short of each edge, and the edges are mask.
    for (auto [x, y] : {std::pair{1, 8}, {15, 8}, {8, 1}, {8, 15}}) EXPECT_EQ(at(s, x, y), b.outer) << x << "," << y;
    for (int i = 0; i <= 16; ++i)
      for (auto [x, y] : {std::pair{0, i}, {16, i}, {i, 0}, {i, 16}}) EXPECT_EQ(at(s, x, y), kMaskColour) << x << "," << y;
  }
}

TEST(PowerupSprites, CarryTheirLetterAtFiveFiveInTheirTextColour) {
  ensure_assets_generated();
  const char letters[] = " DSKBHLLNS";
  for (int k = 1; k <= 9; ++k) {
    const Image* s = powerup_sprites[k];
    ASSERT_EQ(s->width, 17);
    EXPECT_EQ(at(s, 1, 8), k <= 6 ? 0xFF007696u : 0xFF800000u) << k;
    EXPECT_EQ(at(s, 0, 0), kMaskColour) << k;
    const Colour text = k <= 6 ? 0xFFFFFFFFu : 0xFFFFBBBBu;
    for (int row = 0; row < 8; ++row)
      for (int col = 0; col < 8; ++col)
        EXPECT_EQ(at(s, 5 + col, 5 + row) == text, glyph_bit(letters[k], col, row)) << k << " " << col << "," << row;
  }
}

TEST(LaserGlow, SpriteHasTheFullGlowAtThirteenThirteenFadingToBlack) {
  ensure_assets_generated();
  const Image* s = ball_sprites[10];
  ASSERT_EQ(s->width, 17);
  EXPECT_EQ(at(s, 13, 13), 0xFFFF80FFu);  // t = 1
  // d = 0.8 in single: t = 0.19999999^2, 255t = 10.2, 128t = 5.1.
  EXPECT_EQ(at(s, 9, 13), 0xFF0A050Au);
  EXPECT_EQ(at(s, 13, 9), 0xFF0A050Au);
  EXPECT_EQ(at(s, 8, 13), 0xFF000000u);  // on the rim, d = 1
  EXPECT_EQ(at(s, 8, 8), 0xFF000000u);   // the square's corner, beyond the radius
}

}  // namespace
