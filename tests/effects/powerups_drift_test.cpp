// Powerups: the kind draw, the drift to the pivot, contact, and what each kind does.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "effects/powerups.h"
#include "enemies/balls.h"
#include "enemies/combat_fixture.h"

using namespace combat_test;

TEST(PowerupSpawn, KindsByWeightFromTheDrawOf1To23) {
  int count[10] = {};
  for (int r = 1; r <= 23; ++r) ++count[powerup_kind_from_draw(r)];
  const int weight[10] = {0, 3, 3, 3, 3, 3, 2, 2, 2, 2};
  for (int k = 1; k <= 9; ++k) EXPECT_EQ(count[k], weight[k]) << k;
  EXPECT_EQ(powerup_kind_from_draw(3), 1);
  EXPECT_EQ(powerup_kind_from_draw(4), 2);
  EXPECT_EQ(powerup_kind_from_draw(15), 5);
  EXPECT_EQ(powerup_kind_from_draw(16), 6);
  EXPECT_EQ(powerup_kind_from_draw(23), 9);
}

TEST(PowerupSpawn, TwoDrawsKindThenAimErrorAndNoneWhenTheTableIsFull) {
  fresh_round();
  for (int n = 0; n < 300; ++n) {
    double v[3];
    draws_after_seed(11 + 37 * n, v, 3);
    powerups[1].active = 0;
    const float x = static_cast<float>(n % 2 ? -20 : 600), y = static_cast<float>(n % 480);
    spawn_powerup(x, y);
    const Powerup& u = powerups[1];
    ASSERT_EQ(u.active, 1);
    ASSERT_EQ(u.x, x);
    ASSERT_EQ(u.kind, powerup_kind_from_draw(static_cast<int>(std::floor(v[0] * 23)) + 1));
    ASSERT_FLOAT_EQ(u.speed, 2.16f);
    const int error = static_cast<int>(std::floor(v[1] * 8)) - 3;
    ASSERT_NEAR(std::remainder(u.angle * 180.0 / kPi6 - direction_to_pivot_deg(x, y) - error, 360.0), 0.0,
                1e-3);
    ASSERT_EQ(rnd(), v[2]);
  }
  for (int i = 1; i <= kPowerupSlots; ++i) powerups[i].active = 1;
  double v[1];
  draws_after_seed(5, v, 1);
  spawn_powerup(100.0f, 100.0f);
  EXPECT_EQ(rnd(), v[0]);
}

TEST(PowerupDrift, FlowsTowardThePivotAt216PixelsAFrameAndLeavesTheBox) {
  fresh_round();
  spawn_powerup(20.0f, 220.0f);
  const float x0 = powerups[1].x, y0 = powerups[1].y;
  update_powerups();
  EXPECT_NEAR(std::hypot(powerups[1].x - x0, powerups[1].y - y0), 2.16f, 1e-4);
  EXPECT_GT(powerups[1].x, x0);  // rightwards, within a few degrees
  EXPECT_LT(std::fabs(powerups[1].y - y0), 0.2f);
  // Drawn at its new position with its corner 8 up and left.
  EXPECT_EQ(gfx_point(nullptr, std::round(powerups[1].x), std::round(powerups[1].y)), kSpriteColour & 0x00FFFFFFu);

  // Past the box it is retired, yet still moved in that frame.
  powerups[1] = Powerup{-50.5f, 100.0f, 1, static_cast<float>(270 * kPi6 / 180), 2, 2.16f};
  update_powerups();
  EXPECT_EQ(powerups[1].active, 0);
  EXPECT_NEAR(powerups[1].x, -52.66f, 1e-3);
  powerups[1] = Powerup{690.0f, 530.0f, 1, 0.0f, 2, 2.16f};
  update_powerups();
  EXPECT_EQ(powerups[1].active, 1);
}

namespace {

// A powerup of `kind` sitting on the line's body, collected by one update.
void collect(int kind, Colour under = kBody) {
  clear_page();
  box(195, 198, 205, 201, under);
  powerups[1] = Powerup{200.0f, 203.0f, 1, 0.0f, kind, 0.0f};
  update_powerups();
}

}  // namespace

TEST(PowerupEffects, EachKindActsAndSaysSo) {
  const char* texts[10] = {"",           "Double Gun!", "Short Line!",         "Killer Line!", "Blasters Ammo!",
                           "Homing Projectiles!", "Laser Ammo!", "Long line!", "Watch out! No hole!", "Sluggish!"};
  for (int kind = 1; kind <= 9; ++kind) {
    fresh_round();
    round_state.blasters_ammo = 3;
    round_state.laser_ammo = 7;
    round_state.killer_glow_width = 5;
    round_state.glow_pulse_dir = 2;
    collect(kind, kind % 2 ? kBody : kTip);
    EXPECT_EQ(powerups[1].active, 0) << kind;
    EXPECT_TRUE(message_shown(texts[kind])) << kind;
    const RoundState& rs = round_state;
    EXPECT_EQ(rs.double_gun_timer, kind == 1 ? 800 : 0);
    EXPECT_EQ(rs.short_line_timer, kind == 2 ? 800 : 0);
    EXPECT_EQ(rs.killer_line_timer, kind == 3 ? 600 : 0);
    EXPECT_EQ(rs.killer_glow_width, kind == 3 ? 0 : 5);
    EXPECT_EQ(rs.glow_pulse_dir, kind == 3 ? 1 : 2);
    EXPECT_EQ(rs.blasters_ammo, kind == 4 ? 28 : 3);
    EXPECT_EQ(rs.homing_timer, kind == 5 ? 800 : 0);
    EXPECT_EQ(rs.laser_ammo, kind == 6 ? 507 : 7);
    EXPECT_EQ(rs.long_line_timer, kind == 7 ? 800 : 0);
    EXPECT_EQ(rs.no_hole_timer, kind == 8 ? 800 : 0);
    EXPECT_EQ(rs.sluggish_timer, kind == 9 ? 800 : 0);
    // Collected icons are not drawn.
    EXPECT_NE(gfx_point(nullptr, 200, 203), kSpriteColour & 0x00FFFFFFu);
  }
}

TEST(PowerupEffects, ShortAndLongCancelEachOtherAndKillerLineRestartsItsGlow) {
  fresh_round();
  collect(7);
  round_state.long_line_timer = 500;
  collect(2);
  EXPECT_EQ(round_state.long_line_timer, 0);
  EXPECT_EQ(round_state.short_line_timer, 800);
  collect(7);
  EXPECT_EQ(round_state.short_line_timer, 0);
  EXPECT_EQ(round_state.long_line_timer, 800);

  collect(3);
  round_state.killer_line_timer = 100;
  round_state.killer_glow_width = 8;
  collect(3);
  EXPECT_EQ(round_state.killer_line_timer, 600);
  EXPECT_EQ(round_state.killer_glow_width, 0);
}

TEST(PowerupContact, OnlyTheLinesOpaqueColoursWithinTheDiagonalsCount) {
  fresh_round();
  // Translucent killer-glow green and marker black are no contact; nor is the body 5 out.
  const Colour misses[] = {0xC800EA58u, 0xFF000000u, 0xFFE7E7E6u};
  for (Colour c : misses) {
    collect(4, c);
    EXPECT_EQ(powerups[1].active, 1);
  }
  clear_page();
  gfx_pset(nullptr, 205, 208, kBody);
  powerups[1] = Powerup{200.0f, 203.0f, 1, 0.0f, 4, 0.0f};
  update_powerups();
  EXPECT_EQ(powerups[1].active, 1);
  clear_page();
  gfx_pset(nullptr, 204, 207, kBody);
  update_powerups();
  EXPECT_EQ(powerups[1].active, 0);
  EXPECT_EQ(round_state.blasters_ammo, 25);
}
