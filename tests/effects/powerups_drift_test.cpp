// Powerups: the kind draw, the drift to the pivot, contact, and what each kind does.
#include <gtest/gtest.h>

#include "effects/powerups.h"
#include "enemies/balls.h"
#include "enemies/combat_fixture.h"

using namespace combat_test;

namespace {

// A powerup of `kind` resting at (200, 203) over a box of `under`, after one update.
void collect(int kind, Colour under = kBody, float bx = 195, float by = 198, float bx2 = 205, float by2 = 201) {
  clear_page();
  box(bx, by, bx2, by2, under);
  powerups[1] = Powerup{200.0f, 203.0f, 1, 0.0f, kind, 0.0f};
  update_powerups();
}

}  // namespace

TEST(PowerupSpawn, KindsByWeightThenAnAimErrorAndNoDrawsWhenTheTableIsFull) {
  const int kinds[24] = {0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5, 5, 5, 6, 6, 7, 7, 8, 8, 9, 9};
  for (int r = 1; r <= 23; ++r) EXPECT_EQ(powerup_kind_from_draw(r), kinds[r]) << r;
  fresh_round();
  for (int n = 0; n < 300; ++n) {
    double v[3];
    draws_after_seed(11 + 37 * n, v, 3);
    powerups[1].active = 0;
    const float x = n % 2 ? -20.0f : 600.0f, y = static_cast<float>(n % 480);
    spawn_powerup(x, y);
    ASSERT_EQ(powerups[1].kind, kinds[static_cast<int>(std::floor(v[0] * 23)) + 1]);
    const int error = static_cast<int>(std::floor(v[1] * 8)) - 3;
    const double deg = powerups[1].angle * 180.0 / kPi6;
    ASSERT_NEAR(std::remainder(deg - direction_to_pivot_deg(x, y) - error, 360.0), 0.0, 1e-3);
    ASSERT_EQ(rnd(), v[2]);
  }
  for (int i = 1; i <= kPowerupSlots; ++i) powerups[i].active = 1;
  double v[1];
  draws_after_seed(5, v, 1);
  spawn_powerup(100.0f, 100.0f);
  EXPECT_EQ(rnd(), v[0]);
}

TEST(PowerupDrift, Flows216PixelsAFrameToThePivotAndIsRetiredPastTheBoxAfterItsMove) {
  fresh_round();
  spawn_powerup(20.0f, 220.0f);
  update_powerups();
  EXPECT_NEAR(std::hypot(powerups[1].x - 20.0f, powerups[1].y - 220.0f), 2.16f, 1e-4);
  EXPECT_GT(powerups[1].x, 20.0f);
  powerups[1] = Powerup{-50.5f, 100.0f, 1, static_cast<float>(270 * kPi6 / 180), 2, 2.16f};
  update_powerups();
  EXPECT_EQ(powerups[1].active, 0);
  EXPECT_NEAR(powerups[1].x, -52.66f, 1e-3);
}

TEST(PowerupContact, OnlyTheLinesOpaqueColoursWithinTheDiagonalsCount) {
  fresh_round();
  // Translucent killer glow, marker black, a near-body grey, and the body 5 out on the diagonal miss.
  for (Colour c : {0xC800EA58u, 0xFF000000u, 0xFFE7E7E6u}) {
    collect(4, c);
    EXPECT_EQ(powerups[1].active, 1) << std::hex << c;
  }
  collect(4, kBody, 205, 208, 205, 208);
  EXPECT_EQ(powerups[1].active, 1);
  collect(4, kTip, 204, 207, 204, 207);
  EXPECT_EQ(powerups[1].active, 0);
}

TEST(PowerupEffects, EachKindActsAndSaysSoAndTheLineLengthsCancel) {
  const char* texts[10] = {"",           "Double Gun!", "Short Line!",         "Killer Line!", "Blasters Ammo!",
                           "Homing Projectiles!", "Laser Ammo!", "Long line!", "Watch out! No hole!", "Sluggish!"};
  for (int kind = 1; kind <= 9; ++kind) {
    SCOPED_TRACE(kind);
    fresh_round();
    round_state.blasters_ammo = 3;
    round_state.laser_ammo = 7;
    round_state.killer_line_timer = 100;  // a Killer Line restarts with its glow
    round_state.killer_glow_width = 5;
    round_state.glow_pulse_dir = 2;
    round_state.short_line_timer = round_state.long_line_timer = 500;  // Short and Long cancel each other
    collect(kind, kind % 2 ? kBody : kTip);
    EXPECT_EQ(powerups[1].active, 0);
    EXPECT_TRUE(message_shown(texts[kind]));
    const RoundState& rs = round_state;
    EXPECT_EQ(rs.double_gun_timer, kind == 1 ? 800 : 0);
    EXPECT_EQ(rs.short_line_timer, kind == 2 ? 800 : kind == 7 ? 0 : 500);
    EXPECT_EQ(rs.long_line_timer, kind == 7 ? 800 : kind == 2 ? 0 : 500);
    EXPECT_EQ(rs.killer_line_timer, kind == 3 ? 600 : 100);
    EXPECT_EQ(rs.killer_glow_width, kind == 3 ? 0 : 5);
    EXPECT_EQ(rs.glow_pulse_dir, kind == 3 ? 1 : 2);
    EXPECT_EQ(rs.blasters_ammo, kind == 4 ? 28 : 3);
    EXPECT_EQ(rs.homing_timer, kind == 5 ? 800 : 0);
    EXPECT_EQ(rs.laser_ammo, kind == 6 ? 507 : 7);
    EXPECT_EQ(rs.no_hole_timer, kind == 8 ? 800 : 0);
    EXPECT_EQ(rs.sluggish_timer, kind == 9 ? 800 : 0);
  }
}
