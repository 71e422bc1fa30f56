// Sprites: each a 17x17 capture centred on (8, 8) over the mask colour, letters where the
// icons put them, the laser glow's exact ramp, and the sprite slots nobody draws.
#include <gtest/gtest.h>

#include "asset_setup.h"
#include "assets/sprites.h"
#include "frame/font8x8.h"

namespace {

Colour at(const Image* image, int x, int y) { return image->row(y)[x]; }

struct BallExpectation {
  int sprite;
  Colour outer, inner, highlight;
  int dot_x, dot_y;  // one highlight dot, in sprite coordinates
};

TEST(BallSprites, AreCentredOnEightEightWithTheirRingsAndHighlight) {
  ensure_assets_generated();
  const BallExpectation balls[] = {
      {1, 0xFF0014D0, 0xFF4F60FF, 0xFF8792FF, 11, 11}, {2, 0xFF009673, 0xFF00E4B1, 0xFF0BFFC8, 11, 11},
      {3, 0xFFB00000, 0xFFF00000, 0xFFFF7878, 10, 9},  {4, 0xFFBAC600, 0xFFF1FF13, 0xFFF8FF8D, 9, 9},
      {5, 0xFF4E4E4E, 0xFF636363, 0xFF757575, 9, 5},   {7, 0xFFA10098, 0xFFF520F2, 0xFFFF87F8, 11, 11},
  };
  for (const BallExpectation& b : balls) {
    const Image* s = ball_sprites[b.sprite];
    ASSERT_EQ(s->width, 17) << b.sprite;
    ASSERT_EQ(s->height, 17) << b.sprite;
    EXPECT_EQ(at(s, 8, 8), b.inner) << b.sprite;
    EXPECT_EQ(at(s, b.dot_x, b.dot_y), b.highlight) << b.sprite;
    // The radius-7 disc reaches exactly one pixel short of each edge, on all four sides.
    EXPECT_EQ(at(s, 1, 8), b.outer) << b.sprite;
    EXPECT_EQ(at(s, 15, 8), b.outer) << b.sprite;
    EXPECT_EQ(at(s, 8, 1), b.outer) << b.sprite;
    EXPECT_EQ(at(s, 8, 15), b.outer) << b.sprite;
    for (int i = 0; i <= 16; ++i) {
      EXPECT_EQ(at(s, 0, i), kMaskColour) << b.sprite << " left " << i;
      EXPECT_EQ(at(s, 16, i), kMaskColour) << b.sprite << " right " << i;
      EXPECT_EQ(at(s, i, 0), kMaskColour) << b.sprite << " top " << i;
      EXPECT_EQ(at(s, i, 16), kMaskColour) << b.sprite << " bottom " << i;
    }
  }
  // The grey ball's three dots.
  EXPECT_EQ(at(ball_sprites[5], 5, 10), 0xFF757575u);
  EXPECT_EQ(at(ball_sprites[5], 6, 9), 0xFF757575u);
}

TEST(BallSprites, SlotsSixEightAndNineAndPowerupTenKeepTheirBlankStart) {
  ensure_assets_generated();
  for (const Image* s : {ball_sprites[6], ball_sprites[8], ball_sprites[9], powerup_sprites[10]}) {
    ASSERT_EQ(s->width, 18);
    ASSERT_EQ(s->height, 18);
    for (int y = 0; y < 18; ++y)
      for (int x = 0; x < 18; ++x) ASSERT_EQ(at(s, x, y), kMaskColour) << x << "," << y;
  }
}

TEST(PowerupSprites, CarryTheirLetterAtFiveFiveInTheirTextColour) {
  ensure_assets_generated();
  const char letters[] = " DSKBHLLNS";
  for (int k = 1; k <= 9; ++k) {
    const Image* s = powerup_sprites[k];
    ASSERT_EQ(s->width, 17);
    const Colour text = k <= 6 ? 0xFFFFFFFFu : 0xFFFFBBBBu;
    const Colour outer = k <= 6 ? 0xFF007696u : 0xFF800000u;
    EXPECT_EQ(at(s, 1, 8), outer) << k;
    EXPECT_EQ(at(s, 0, 0), kMaskColour) << k;
    const std::uint8_t* glyph = font8x8[static_cast<unsigned char>(letters[k])];
    for (int row = 0; row < 8; ++row)
      for (int col = 0; col < 8; ++col) {
        const bool set = (glyph[row] >> (7 - col)) & 1;
        EXPECT_EQ(at(s, 5 + col, 5 + row) == text, set) << k << " " << col << "," << row;
      }
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
  EXPECT_EQ(at(s, 0, 0), 0xFF000000u);   // the cleared page around it
}

TEST(LaserGlow, DrawGlowCoversItsSquareOpaquelyAndNothingElse) {
  gfx_open_screen(640, 480, 32, 2, kGfxAlphaPrimitives, 0);
  gfx_set_pages(0, 1);
  gfx_line(nullptr, 0, 0, 639, 479, 0x80123456u, kLineFilledBox);
  const Colour ground = gfx_point(nullptr, 0, 0);
  draw_glow(100, 200, 3);
  EXPECT_EQ(gfx_point(nullptr, 103, 203), 0xFFFF80FFu);
  // d = 1/3: t = (2/3)^2 = 0.44444, 255t = 113.3, 128t = 56.9.
  EXPECT_EQ(gfx_point(nullptr, 104, 203), 0xFF713971u);
  for (int y = 199; y <= 207; ++y)
    for (int x = 99; x <= 107; ++x) {
      const bool inside = x >= 100 && x <= 106 && y >= 200 && y <= 206;
      const Colour c = gfx_point(nullptr, static_cast<float>(x), static_cast<float>(y));
      if (inside)
        EXPECT_EQ(c >> 24, 0xFFu) << x << "," << y;
      else
        EXPECT_EQ(c, ground) << x << "," << y;
    }
}

}  // namespace
