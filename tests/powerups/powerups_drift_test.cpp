// Powerups: the kind draw, the drift to the pivot, contact, and what each kind does.
#include <gtest/gtest.h>

#include "enemies/balls.h"
#include "enemies/combat_fixture.h"
#include "powerups/powerups.h"

using namespace combat_test;

// A powerup of `kind` resting at (200, 203) over a box of `under`, after one update; is it still there?
static int collect(int kind, Colour under, float x1 = 195, float y1 = 198, float x2 = 205, float y2 = 201) {
  clear_page();
  box(x1, y1, x2, y2, under);
  powerups[1] = Powerup{200.0f, 203.0f, 1, 0.0f, kind, 0.0f};
  update_powerups();
  return powerups[1].active;
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
