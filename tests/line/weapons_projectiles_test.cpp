// Shots: where they start, how fast and long they fly, and the shared turn rule.
#include <gtest/gtest.h>

#include "enemies/combat_fixture.h"
#include "enemies/hits.h"
#include "line/weapons.h"
#include "state/heading.h"

using namespace combat_test;

TEST(WeaponsSpawn, ShotsLeaveTheLineEndsWithTheirWeaponsSpeedAndLifeAndLiveOutIt) {
  fresh_round();  // angle 90: the front end is at (375, 220), the rear end at (265, 220)
  spawn_projectile(1, round_state.angle_rad, 1);
  spawn_projectile(3, round_state.angle_rad - 3.141593, 2);  // the double gun's rear blaster
  const Projectile &a = projectiles[1], &b = projectiles[2];
  EXPECT_NEAR(a.x, 375.0f, 1e-4);
  EXPECT_NEAR(b.x, 265.0f, 1e-4);
  EXPECT_FLOAT_EQ(a.speed, 4.8f);
  EXPECT_FLOAT_EQ(b.speed, 4.08f);
  // A rear shot keeps its negative angle, but its heading reads 0..359 like a bearing.
  EXPECT_EQ(b.angle, round_state.angle_rad - 3.141593);
  EXPECT_EQ((std::array{a.weapon, a.heading_deg, b.weapon, b.heading_deg, b.life}), (std::array{1, 90, 3, 270, 120}));
  projectiles[1].x = 100.0f;  // far enough left to stay on the page all its life
  int frames = 0;
  for (; projectiles[1].active == 1 && frames < 500; ++frames) update_projectiles();
  EXPECT_EQ(frames, 70);
}

TEST(WeaponsFlight, ARearShotWithItsTargetDeadAheadKeepsItsHeading) {
  fresh_round();
  round_state.homing_timer = 10;
  spawn_projectile(1, round_state.angle_rad - 3.141593, 2);  // leaves (265, 220) flying left
  place_ball(1, 1, 210.0f, projectiles[1].y);                 // at bearing 270 exactly
  check_projectile_hits(1);
  EXPECT_EQ(projectiles[1].heading_deg, 270);
}

TEST(TurnRule, OneStepTheShortWayRoundAndNoneJustBelowTheHeading) {
  const struct { int heading; double t; int step, expect; } cases[] = {
      {0, 90, 6, 6},    {100, 10, 6, 94},   {350, 10, 6, 356}, {5, 355, 6, 359}, {100, 97, 6, 100},
      {0, 4, 6, 6},     {6, 4, 6, 6},       {180, 0, 6, 174},  {90, 90, 6, 90},  {-90, 200, 6, 264},
      {10, 9, 1, 9},    {9, 10, 1, 10},     {10, 9, 2, 10},    {359, 0.5, 1, 0}, {0, 359.5, 1, 359}};
  for (const auto& c : cases)
    EXPECT_EQ(turn_heading_toward(c.heading, c.t, c.step), c.expect) << c.heading << " -> " << c.t << " by " << c.step;
}
