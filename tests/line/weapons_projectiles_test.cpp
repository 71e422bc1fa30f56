// Shots: where they start, how fast and long they fly, and the shared turn rule.
#include <gtest/gtest.h>

#include "enemies/combat_fixture.h"
#include "line/weapons.h"

using namespace combat_test;

TEST(WeaponsSpawn, ShotsLeaveTheLineEndsWithTheirWeaponsSpeedAndLifeAndLiveOutIt) {
  fresh_round();  // angle 90: the front end is at (375, 220), the rear end at (265, 220)
  spawn_projectile(1, round_state.angle_rad, 1);
  spawn_projectile(3, round_state.angle_rad - 3.141593, 2);  // the double gun's rear blaster
  const Projectile &a = projectiles[1], &b = projectiles[2];
  EXPECT_NEAR(a.x, 375.0f, 1e-4);
  EXPECT_NEAR(a.y, 220.0f, 1e-3);
  EXPECT_FLOAT_EQ(a.speed, 4.8f);
  EXPECT_EQ(a.heading_deg, 90);
  EXPECT_NEAR(b.x, 265.0f, 1e-4);
  EXPECT_FLOAT_EQ(b.speed, 4.08f);
  EXPECT_EQ(b.life, 120);
  EXPECT_EQ(b.heading_deg, -90);  // a rear shot keeps its negative angle
  projectiles[1].x = 100.0f;  // far enough left to stay on the page all its life
  int frames = 0;
  for (; projectiles[1].active == 1 && frames < 500; ++frames) update_projectiles();
  EXPECT_EQ(frames, 70);
  EXPECT_NEAR(projectiles[1].x, 100.0f + 336.0f, 0.01f);
}

TEST(WeaponsFlight, ShotsLeavingTheBoxAroundTheScreenAreRetiredAndAHitShotStillMoves) {
  const float cases[][3] = {{645, 100, 1},   {645.01f, 100, 0}, {-5, 100, 1},  {-5.01f, 100, 0},
                            {100, 485, 1},   {100, 485.01f, 0}, {100, -5, 1},  {100, -5.01f, 0}};
  for (const auto& c : cases) {
    fresh_round();
    place_shot(1, 1, c[0], c[1], 3.141593);  // flying up, away from nothing
    update_projectiles();
    EXPECT_EQ(projectiles[1].active, c[2]) << c[0] << "," << c[1];
  }
  place_ball(1, 5, 200.0f, 200.0f);
  place_shot(1, 1, 201.0f, 200.0f, 0.0);  // heading down the screen
  update_projectiles();
  EXPECT_EQ(projectiles[1].active, 0);
  EXPECT_EQ(balls[1].hp, 3);
  EXPECT_FLOAT_EQ(projectiles[1].y, 204.8f);
}

TEST(TurnRule, OneStepTheShortWayRoundAndNoneJustBelowTheHeading) {
  const double cases[][4] = {{0, 90, 6, 6},   {100, 10, 6, 94}, {350, 10, 6, 356}, {5, 355, 6, 359},
                             {100, 97, 6, 100}, {0, 4, 6, 6},   {6, 4, 6, 6},      {180, 0, 6, 174},
                             {90, 90, 6, 90}, {-90, 200, 6, 264}, {10, 9, 1, 9},   {9, 10, 1, 10},
                             {10, 9, 2, 10},  {359, 0.5, 1, 0}, {0, 359.5, 1, 359}};
  for (const auto& c : cases)
    EXPECT_EQ(turn_heading_toward(static_cast<int>(c[0]), c[1], static_cast<int>(c[2])), c[3])
        << c[0] << " -> " << c[1] << " by " << c[2];
  fresh_round();
  place_shot(4, 1, 100.0f, 100.0f, 0.0);
  steer_homing(4, 270.0f);
  EXPECT_EQ(projectiles[4].heading_deg, 354);
  EXPECT_DOUBLE_EQ(projectiles[4].angle, 354 * 3.141593 / 180);
}
