#include "line/player_line.h"

#include <gtest/gtest.h>

#include "line/line_test_support.h"

namespace {

using namespace line_test;

class PlayerLine : public ::testing::Test {
 protected:
  void SetUp() override {
    fresh_page();
    fresh_round();
  }
  static void frames(int n) {
    for (int i = 0; i < n; ++i) update_player_line();
  }
};

TEST_F(PlayerLine, ShortLineShrinksTo30In25FramesAndGrowsBack) {
  round_state.short_line_timer = 1000;
  frames(24);
  EXPECT_EQ(round_state.line_half_length, 31);
  frames(1);
  EXPECT_EQ(round_state.line_half_length, 30);
  frames(10);
  EXPECT_EQ(round_state.line_half_length, 30);
  round_state.short_line_timer = 0;
  frames(24);
  EXPECT_EQ(round_state.line_half_length, 54);
  frames(5);
  EXPECT_EQ(round_state.line_half_length, 55);
}

TEST_F(PlayerLine, LongLineGrowsTo75In20FramesAndRelaxesBack) {
  round_state.long_line_timer = 1000;
  frames(19);
  EXPECT_EQ(round_state.line_half_length, 74);
  frames(5);
  EXPECT_EQ(round_state.line_half_length, 75);
  round_state.long_line_timer = 0;
  frames(20);
  EXPECT_EQ(round_state.line_half_length, 55);
  frames(3);
  EXPECT_EQ(round_state.line_half_length, 55);
}

TEST_F(PlayerLine, ShortAndLongTogetherCancelAndShortAfterLongShrinksStraightTo30) {
  round_state.short_line_timer = 100;
  round_state.long_line_timer = 100;
  round_state.line_half_length = 60;
  frames(10);
  EXPECT_EQ(round_state.line_half_length, 60);

  round_state.line_half_length = 75;
  round_state.long_line_timer = 0;  // collecting Short Line clears the long timer
  frames(44);
  EXPECT_EQ(round_state.line_half_length, 31);
  frames(1);
  EXPECT_EQ(round_state.line_half_length, 30);
}

TEST_F(PlayerLine, HoleClosesIn20FramesAndReopensIn20) {
  round_state.no_hole_timer = 100;
  frames(19);
  EXPECT_EQ(round_state.hole_half_width, 1);
  frames(1);
  EXPECT_EQ(round_state.hole_half_width, 0);
  frames(5);
  EXPECT_EQ(round_state.hole_half_width, 0);
  round_state.no_hole_timer = 0;
  frames(19);
  EXPECT_EQ(round_state.hole_half_width, 19);
  frames(3);
  EXPECT_EQ(round_state.hole_half_width, 20);
}

TEST_F(PlayerLine, CollapseBurstsOnceWhenTheLineReaches5) {
  round_state.energy = 0.0f;
  frames(20);
  EXPECT_EQ(round_state.hole_half_width, 0);
  EXPECT_EQ(round_state.line_half_length, 35);
  frames(29);
  EXPECT_EQ(round_state.line_half_length, 6);
  EXPECT_EQ(round_state.game_over, 0);
  EXPECT_EQ(explosions[1].life, 0);
  EXPECT_EQ(sparks[1].life, 0);

  frames(1);  // the 50th frame
  EXPECT_EQ(round_state.line_half_length, 5);
  EXPECT_EQ(round_state.game_over, 1);
  const float spark_x[] = {320, 317, 320, 319}, spark_y[] = {220, 220, 223, 220};
  for (int i = 1; i <= 4; ++i) {
    EXPECT_EQ(sparks[i].life, 10);
    EXPECT_EQ(sparks[i].kind, 1);
    EXPECT_EQ(sparks[i].x, spark_x[i - 1]);
    EXPECT_EQ(sparks[i].y, spark_y[i - 1]);
  }
  EXPECT_EQ(sparks[5].life, 0);
  for (int i = 1; i <= 5; ++i) {
    EXPECT_EQ(explosions[i].kind, i);
    EXPECT_EQ(explosions[i].x, 320.0f);
    EXPECT_EQ(explosions[i].y, 220.0f);
    EXPECT_GT(explosions[i].life, 0);
  }
  EXPECT_EQ(explosions[6].life, 0);

  // Never again in the same game, and nothing more is drawn.
  std::fill(std::begin(sparks), std::end(sparks), Spark{});
  std::fill(std::begin(explosions), std::end(explosions), Explosion{});
  fresh_page();
  frames(100);
  EXPECT_EQ(round_state.line_half_length, 5);
  EXPECT_EQ(sparks[1].life, 0);
  EXPECT_EQ(explosions[1].life, 0);
  EXPECT_EQ(count_pixels(0xFF000000u), 640 * 480);
}

TEST_F(PlayerLine, DrawnAtAngle90WithExactBodyAndTipColours) {
  update_player_line();
  // The line runs along row 220: hole 300..340, front body 340..370, tip 369..375.
  for (int x = 340; x <= 370; ++x) EXPECT_EQ(gfx_point(nullptr, x, 220), kLineBodyColour) << x;
  for (int x = 371; x <= 375; ++x) EXPECT_EQ(gfx_point(nullptr, x, 220), kGunTipColour) << x;
  for (int x = 265; x <= 300; ++x) EXPECT_EQ(gfx_point(nullptr, x, 220), kLineBodyColour) << x;
  for (int y = 218; y <= 222; ++y) EXPECT_EQ(gfx_point(nullptr, 355, y), kLineBodyColour) << y;
  EXPECT_EQ(gfx_point(nullptr, 355, 217), 0xFF000000u);
  EXPECT_EQ(gfx_point(nullptr, 355, 223), 0xFF000000u);
  EXPECT_EQ(gfx_point(nullptr, 320, 220), 0xFF000000u);  // the hole
  EXPECT_EQ(gfx_point(nullptr, 376, 220), 0xFF000000u);
  EXPECT_EQ(gfx_point(nullptr, 264, 220), 0xFF000000u);
  // Without the double gun the rear end carries no tip.
  const Image* page = gfx_page(0);
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 320; ++x) ASSERT_NE(page->row(y)[x], kGunTipColour) << x << "," << y;
}

TEST_F(PlayerLine, DrawnAtAnAngleAlongItsDirection) {
  set_line_angle(200);
  update_player_line();
  const double s = round_state.angle_sin, c = round_state.angle_cos;
  auto at = [&](double r) {
    return gfx_point(nullptr, static_cast<float>(320 + r * s), static_cast<float>(220 + r * c));
  };
  for (int r = 22; r <= 48; ++r) EXPECT_EQ(at(r), kLineBodyColour) << r;
  for (int r = 51; r <= 54; ++r) EXPECT_EQ(at(r), kGunTipColour) << r;
  for (int r = 22; r <= 53; ++r) EXPECT_EQ(at(-r), kLineBodyColour) << -r;
  for (int r = -17; r <= 17; ++r) EXPECT_EQ(at(r), 0xFF000000u) << r;
  // Nothing but the two opaque colours is left on the page.
  EXPECT_EQ(count_pixels(0xFF000000u) + count_pixels(kLineBodyColour) + count_pixels(kGunTipColour),
            640 * 480);
  EXPECT_GT(count_pixels(kGunTipColour), 10);
}

TEST_F(PlayerLine, GunTipOnlyAboveLength8) {
  round_state.short_line_timer = 100;  // holds a short length where it is
  round_state.line_half_length = 8;
  round_state.hole_half_width = 0;
  update_player_line();
  EXPECT_EQ(round_state.line_half_length, 8);
  EXPECT_EQ(count_pixels(kGunTipColour), 0);
  EXPECT_GT(count_pixels(kLineBodyColour), 0);

  fresh_page();
  round_state.line_half_length = 9;
  update_player_line();
  EXPECT_GT(count_pixels(kGunTipColour), 0);
}

TEST_F(PlayerLine, DoubleGunPutsATipOnTheRearAndShortensItsBody) {
  round_state.double_gun_timer = 100;
  update_player_line();
  // Rear tip from 271 to 265 on row 220, rear body from 300 to 270 drawn over it.
  for (int x = 265; x <= 269; ++x) EXPECT_EQ(gfx_point(nullptr, x, 220), kGunTipColour) << x;
  for (int x = 270; x <= 300; ++x) EXPECT_EQ(gfx_point(nullptr, x, 220), kLineBodyColour) << x;
  EXPECT_EQ(gfx_point(nullptr, 264, 220), 0xFF000000u);
  // The front end is the same either way.
  EXPECT_EQ(gfx_point(nullptr, 374, 220), kGunTipColour);
  EXPECT_EQ(gfx_point(nullptr, 350, 220), kLineBodyColour);
}

TEST_F(PlayerLine, KillerGlowWidensPulsesAndNarrows) {
  round_state.killer_line_timer = 100;
  round_state.killer_glow_width = 0;
  round_state.glow_pulse = 96;
  frames(1);
  EXPECT_EQ(round_state.killer_glow_width, 1);
  EXPECT_EQ(round_state.glow_pulse, 98);
  frames(1);
  EXPECT_EQ(round_state.glow_pulse, 100);
  frames(1);  // 102 turns the pulse down, clamped to the top
  EXPECT_EQ(round_state.glow_pulse_dir, 2);
  EXPECT_EQ(round_state.glow_pulse, 100);
  frames(10);
  EXPECT_EQ(round_state.killer_glow_width, 8);
  EXPECT_EQ(round_state.glow_pulse, 80);
  frames(40);  // down to 0, then up again, never outside 0..100
  EXPECT_EQ(round_state.glow_pulse_dir, 1);
  EXPECT_GE(round_state.glow_pulse, 0);
  EXPECT_LE(round_state.glow_pulse, 100);

  round_state.killer_line_timer = 8;
  frames(3);
  EXPECT_EQ(round_state.killer_glow_width, 5);
  frames(10);
  EXPECT_EQ(round_state.killer_glow_width, 1);
}

TEST_F(PlayerLine, PulseLeftHighByTheMenuIsClampedTo100) {
  round_state.killer_line_timer = 100;
  round_state.glow_pulse = 200;  // the menu runs it between 150 and 255
  frames(1);
  EXPECT_EQ(round_state.glow_pulse, 100);
  EXPECT_EQ(round_state.glow_pulse_dir, 2);
  // Without Killer Line the line leaves the pulse alone.
  round_state.killer_line_timer = 0;
  round_state.glow_pulse = 200;
  frames(3);
  EXPECT_EQ(round_state.glow_pulse, 200);
}

TEST_F(PlayerLine, KillerGlowIsDrawnUnderTheBodyInItsColour) {
  round_state.killer_line_timer = 100;
  round_state.killer_glow_width = 7;  // 8 this frame
  round_state.glow_pulse = 10;        // alpha 112 this frame
  update_player_line();
  const Colour glow = gfx_blend_primitive(0xFF000000u, 112u << 24 | 0x00EA58u);
  const Colour twice = gfx_blend_primitive(glow, 112u << 24 | 0x00EA58u);
  // Beyond the body the glow reaches 4 past the end and 4 into the hole, 4 pixels either side.
  const Colour beyond = gfx_point(nullptr, 378, 220);
  EXPECT_TRUE(beyond == glow || beyond == twice) << std::hex << beyond;
  EXPECT_EQ(gfx_point(nullptr, 355, 224), glow);
  EXPECT_EQ(gfx_point(nullptr, 355, 225), 0xFF000000u);
  EXPECT_EQ(gfx_point(nullptr, 337, 220), glow);
  EXPECT_EQ(gfx_point(nullptr, 303, 224), glow);
  EXPECT_EQ(gfx_point(nullptr, 355, 220), kLineBodyColour);
  EXPECT_EQ(gfx_point(nullptr, 320, 220), 0xFF000000u);
}

}  // namespace
