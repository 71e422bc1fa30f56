// Shots: where they start, how fast and long they fly, and the shared turn rule.
#include <gtest/gtest.h>

#include <cmath>

#include "enemies/combat_fixture.h"
#include "line/weapons.h"

using namespace combat_test;

TEST(WeaponsSpawn, ShotsLeaveTheLineEndsWithTheirWeaponsSpeedAndLife) {
  fresh_round();
  set_line_angle(90);  // the front end is at (375, 220), the rear end at (265, 220)
  spawn_projectile(1, round_state.angle_rad, 1);
  spawn_projectile(3, round_state.angle_rad - 3.141593, 2);
  const Projectile& a = projectiles[1];
  const Projectile& b = projectiles[2];
  EXPECT_NEAR(a.x, 375.0f, 1e-4);
  EXPECT_NEAR(a.y, 220.0f, 1e-3);
  EXPECT_EQ(a.speed, static_cast<float>(4.0 * 1.2f));
  EXPECT_EQ(a.life, 70);
  EXPECT_EQ(a.heading_deg, 90);
  EXPECT_EQ(a.turn_step, 6);
  EXPECT_NEAR(b.x, 265.0f, 1e-4);
  EXPECT_FLOAT_EQ(b.speed, 4.08f);
  EXPECT_EQ(b.life, 120);
  EXPECT_EQ(b.weapon, 3);
  EXPECT_EQ(b.heading_deg, -90);  // a rear shot keeps its negative angle
  // A full table drops the shot.
  for (int i = 1; i <= kProjectileSlots; ++i) projectiles[i].active = 1;
  projectiles[90].x = 1.0f;
  spawn_projectile(1, 0.0, 1);
  EXPECT_EQ(projectiles[90].x, 1.0f);
}

TEST(WeaponsFlight, ACannonShotLivesSeventyFramesOver336Pixels) {
  fresh_round();
  set_line_angle(90);
  spawn_projectile(1, round_state.angle_rad, 1);
  projectiles[1].x = 100.0f;  // far enough left to stay on the page all its life
  int frames = 0;
  while (projectiles[1].active == 1 && frames < 500) {
    update_projectiles();
    ++frames;
  }
  EXPECT_EQ(frames, 70);
  EXPECT_NEAR(projectiles[1].x, 100.0f + 336.0f, 0.01f);
}

TEST(WeaponsFlight, ShotsLeavingTheBoxAroundTheScreenAreRetired) {
  struct Case {
    float x, y;
    bool stays;
  };
  const Case cases[] = {{645.0f, 100.0f, true}, {645.01f, 100.0f, false}, {-5.0f, 100.0f, true},
                        {-5.01f, 100.0f, false}, {100.0f, 485.0f, true}, {100.0f, 485.01f, false},
                        {100.0f, -5.0f, true},   {100.0f, -5.01f, false}};
  for (const Case& c : cases) {
    fresh_round();
    place_shot(1, 1, c.x, c.y, 3.141593);  // flying up, away from nothing
    update_projectiles();
    EXPECT_EQ(projectiles[1].active, c.stays ? 1 : 0) << c.x << "," << c.y;
  }
}

TEST(WeaponsFlight, AShotRetiredByAHitIsStillMovedAndDrawn) {
  fresh_round();
  place_ball(1, 5, 200.0f, 200.0f);
  place_shot(1, 1, 201.0f, 200.0f, 0.0);  // heading down the screen
  update_projectiles();
  EXPECT_EQ(projectiles[1].active, 0);
  EXPECT_EQ(balls[1].hp, 3);
  EXPECT_FLOAT_EQ(projectiles[1].y, 204.8f);
  // The streak: orange at the shot, greying towards its tip.
  EXPECT_EQ(gfx_point(nullptr, 201, 205), 0xFFF3C435u);
  EXPECT_EQ(gfx_point(nullptr, 201, 206), 0xFFF3C435u);
  EXPECT_EQ(gfx_point(nullptr, 201, 207), 0xFF808080u);
  EXPECT_EQ(gfx_point(nullptr, 201, 208), 0xFFAFAFAFu);
}

TEST(TurnRule, OneStepTheShortWayRoundAndNoneJustBelowTheHeading) {
  struct Case {
    int h;
    double t;
    int step, expect;
  };
  const Case cases[] = {
      {0, 90, 6, 6},      {100, 10, 6, 94},   {350, 10, 6, 356}, {5, 355, 6, 359},  {100, 97, 6, 100},
      {0, 4, 6, 6},       {6, 4, 6, 6},       {180, 0, 6, 174},  {90, 90, 6, 90},   {-90, 200, 6, 264},
      {10, 9, 1, 9},      {9, 10, 1, 10},     {10, 9, 2, 10},    {359, 0.5, 1, 0},  {0, 359.5, 1, 359},
  };
  for (const Case& c : cases)
    EXPECT_EQ(turn_heading_toward(c.h, c.t, c.step), c.expect) << c.h << " -> " << c.t << " by " << c.step;
}

TEST(TurnRule, SteerHomingStoresHeadingAndAngle) {
  fresh_round();
  place_shot(4, 1, 100.0f, 100.0f, 0.0);
  steer_homing(4, 270.0f);
  EXPECT_EQ(projectiles[4].heading_deg, 354);
  EXPECT_DOUBLE_EQ(projectiles[4].angle, 354 * 3.141593 / 180);
}
