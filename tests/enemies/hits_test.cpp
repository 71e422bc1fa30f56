// The hit pass of one shot against the balls: cannon, blasters and homing.
#include <gtest/gtest.h>

#include "combat_fixture.h"
#include "enemies/balls.h"
#include "enemies/hits.h"

using namespace combat_test;

TEST(CannonHits, BoxSixIsStrictEachHitTakesOneHpAndTwoShotsInOneFrameKillAKindThreeBall) {
  fresh_round();
  place_ball(1, 3, 200.0f, 200.0f);
  const float offsets[] = {0, 6.0f, -6.0f, 5.9f, -5.9f};
  for (int n = 1; n <= 4; ++n) place_shot(n, 1, 200.0f + offsets[n], 200.0f - offsets[n] * 0.5f);
  for (int n = 1; n <= 3; ++n) check_projectile_hits(n);
  EXPECT_EQ((std::array{balls[1].hp, round_state.score}), (std::array{1, 0}));
  check_projectile_hits(4);
  EXPECT_EQ((std::array{projectiles[1].active, projectiles[2].active, projectiles[3].active, projectiles[4].active}),
            (std::array{1, 1, 0, 0}));
  EXPECT_EQ((std::array{round_state.score, round_state.powerup_kills}), (std::array{95, 1}));
  EXPECT_NE(balls[1].x, 200.0f);
}

TEST(BlasterHits, TriggerThirtyBlastFortyDestroyingInSlotOrder) {
  fresh_round();
  round_state.powerup_kills = 17;  // the third kill of the blast completes the count of 20
  place_ball(2, 1, 235.0f, 200.0f);  // 35 away: in the blast, not a trigger
  place_ball(5, 5, 220.0f, 229.0f);  // 29 away: the trigger
  place_ball(7, 4, 200.0f, 239.5f);  // 39.5 away: in the blast
  place_ball(8, 3, 240.0f, 200.0f);  // 40 away: outside
  place_ball(9, 3, 169.0f, 170.0f);  // 31 on both axes: in the blast
  place_shot(1, 3, 200.0f, 200.0f);
  check_projectile_hits(1);
  EXPECT_EQ((std::array{projectiles[1].active, round_state.score, balls[8].hp, round_state.powerup_kills}),
            (std::array{0, 65 + 125 + 110 + 95, 2, 1}));
  EXPECT_TRUE(powerup_at(1, 200.0f, 239.5f));  // slot order 2, 5, 7, 9: released where ball 7 was
}

TEST(BlasterHits, NoTriggerAtThirtyAndACannonShotStaysOneAfterASwitchToBlasters) {
  fresh_round();
  round_state.weapon = 3;  // the player switched to the blasters after firing shot 2
  place_ball(1, 2, 230.0f, 200.0f);  // 30 from shot 1: just outside the trigger
  place_ball(2, 2, 400.0f, 180.0f);  // 10 from shot 2: too far for the cannon, a trigger for a blaster
  place_shot(1, 3, 200.0f, 200.0f);
  place_shot(2, 1, 400.0f, 190.0f);
  check_projectile_hits(1);
  check_projectile_hits(2);
  EXPECT_EQ((std::array{projectiles[1].active, projectiles[2].active, round_state.score}), (std::array{1, 1, 0}));
}

TEST(Homing, SixDegreesTowardEachActiveTargetInRangeTheShortWayAndNoneWithinTheStep) {
  struct Row { double heading; int balls; float bx[3], by[3]; int homing, active, expect; };
  // Heading 0 moves down the screen; a ball due right of the shot at (200, 200) lies at bearing 90.
  const Row rows[] = {{0, 1, {250}, {200}, 10, 1, 6},                      // bearing 90: one step
                      {10, 1, {206.09f}, {249.63f}, 10, 1, 10},            // bearing 7, within the step: cancels
                      {0, 1, {203.5f}, {250}, 10, 1, 6},                   // bearing 4: one step past it
                      {0, 3, {240, 200, 170}, {200, 150, 200}, 10, 1, 6},  // 90: 6, 180: 12, 270 the short way: 6
                      {0, 1, {260}, {200}, 10, 1, 0},                      // 60 away: out of range
                      {0, 1, {240}, {200}, 0, 1, 0},                       // homing off
                      {0, 1, {240}, {200}, 10, 0, 0}};                     // the ball inactive
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << "heading " << r.heading << " first ball " << r.bx[0] << "," << r.by[0]);
    fresh_round();
    round_state.homing_timer = r.homing;
    place_shot(1, 1, 200.0f, 200.0f, r.heading * kPi6 / 180.0);
    for (int i = 0; i < r.balls; ++i) place_ball(i + 1, 1, r.bx[i], r.by[i]).active = r.active;
    check_projectile_hits(1);
    EXPECT_EQ(projectiles[1].heading_deg, r.expect);
    EXPECT_NEAR(projectiles[1].angle, r.expect * kPi6 / 180.0, 1e-12);
  }
}
