// Powerups: the kind draw, the drift to the pivot, contact, and what each kind does.
#include <gtest/gtest.h>

#include "effects/powerups.h"
#include "enemies/balls.h"
#include "enemies/combat_fixture.h"

using namespace combat_test;

// A powerup of `kind` resting at (200, 203) over a box of `under`, after one update; is it still there?
static int collect(int kind, Colour under, float x1 = 195, float y1 = 198, float x2 = 205, float y2 = 201) {
  clear_page();
  box(x1, y1, x2, y2, under);
  powerups[1] = Powerup{200.0f, 203.0f, 1, 0.0f, kind, 0.0f};
  update_powerups();
  return powerups[1].active;
}

TEST(PowerupSpawn, KindsByWeightThenAnAimErrorThenADriftOf216PixelsAFrameToThePivot) {
  const int kinds[24] = {0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5, 5, 5, 6, 6, 7, 7, 8, 8, 9, 9};
  fresh_round();
  for (int n = 0; n < 300; ++n) {
    double v[3];
    draws_after_seed(11 + 37 * n, v, 3);
    powerups[1].active = 0;
    const float x = n % 2 ? -20.0f : 600.0f, y = static_cast<float>(n % 480);
    spawn_powerup(x, y);
    ASSERT_EQ(powerups[1].kind, kinds[static_cast<int>(std::floor(v[0] * 23)) + 1]);
    const double deg = powerups[1].angle * 180.0 / kPi6, error = std::floor(v[1] * 8) - 3;
    ASSERT_NEAR(std::remainder(deg - direction_to_pivot_deg(x, y) - error, 360.0), 0.0, 1e-3);
    ASSERT_EQ(rnd(), v[2]);
    update_powerups();
    ASSERT_NEAR(std::hypot(powerups[1].x - x, powerups[1].y - y), 2.16f, 1e-4);
    ASSERT_LT(std::hypot(powerups[1].x - 320, powerups[1].y - 220), std::hypot(x - 320, y - 220));
  }
}

TEST(PowerupContact, OnlyTheLinesOpaqueColoursWithinTheDiagonalsCount) {
  fresh_round();
  // Translucent killer glow, marker black, a near-body grey, and the body 5 out on the diagonal miss; a tip 4 out hits.
  const struct { Colour c; float x1, y1, x2, y2; int active; } rows[] = {
      {0xC800EA58u, 195, 198, 205, 201, 1}, {0xFF000000u, 195, 198, 205, 201, 1}, {0xFFE7E7E6u, 195, 198, 205, 201, 1},
      {kBody, 205, 208, 205, 208, 1},       {kTip, 204, 207, 204, 207, 0}};
  for (const auto& r : rows) EXPECT_EQ(collect(4, r.c, r.x1, r.y1, r.x2, r.y2), r.active) << std::hex << r.c;
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
    EXPECT_TRUE(collect(kind, kind % 2 ? kBody : kTip) == 0 && message_shown(texts[kind]));
    const RoundState& rs = round_state;
    auto when = [&](int k, int yes, int no) { return kind == k ? yes : no; };
    EXPECT_EQ((std::array{rs.double_gun_timer, rs.short_line_timer, rs.long_line_timer, rs.homing_timer,
                          rs.no_hole_timer, rs.sluggish_timer, rs.killer_line_timer, rs.killer_glow_width,
                          rs.glow_pulse_dir, rs.blasters_ammo, rs.laser_ammo}),
              (std::array{when(1, 800, 0), kind == 2 ? 800 : when(7, 0, 500), kind == 7 ? 800 : when(2, 0, 500),
                          when(5, 800, 0), when(8, 800, 0), when(9, 800, 0), when(3, 600, 100), when(3, 0, 5),
                          when(3, 1, 2), when(4, 28, 3), when(6, 507, 7)}));
  }
}
