// The hit pass of one shot against the balls: cannon, blasters and homing.
#include <gtest/gtest.h>

#include "combat_fixture.h"
#include "enemies/balls.h"
#include "enemies/hits.h"

using namespace combat_test;

TEST(CannonHits, BoxSixIsStrictAndEachHitTakesOneHp) {
  fresh_round();
  place_ball(1, 5, 200.0f, 200.0f);
  const float offsets[] = {5.9f, -5.9f, 6.0f, -6.0f};
  const bool hits[] = {true, true, false, false};
  for (int n = 0; n < 4; ++n) {
    place_shot(1, 1, 200.0f + offsets[n], 200.0f - offsets[n] * 0.5f);
    check_projectile_hits(1);
    EXPECT_EQ(projectiles[1].active, hits[n] ? 0 : 1) << n;
  }
  EXPECT_EQ(balls[1].hp, 2);
  EXPECT_EQ(balls[1].x, 200.0f);
  // Two more hits finish the kind-5 ball.
  for (int n = 0; n < 2; ++n) {
    place_shot(1, 1, 201.0f, 199.0f);
    check_projectile_hits(1);
  }
  EXPECT_EQ(round_state.score, 125);
  EXPECT_NE(balls[1].x, 200.0f);
}

TEST(CannonHits, TwoShotsInOneFrameOnAKindThreeBall) {
  fresh_round();
  place_ball(1, 3, 300.0f, 100.0f);
  place_shot(1, 1, 302.0f, 101.0f);
  place_shot(2, 1, 298.0f, 99.0f);
  check_projectile_hits(1);
  EXPECT_EQ(balls[1].hp, 1);
  EXPECT_EQ(round_state.score, 0);
  check_projectile_hits(2);
  EXPECT_EQ(round_state.score, 95);
  EXPECT_EQ(round_state.powerup_kills, 1);
}

TEST(CannonHits, AShotHitsOneBallOnlyAndATaggedBallDiesAtOnce) {
  fresh_round();
  place_ball(1, 1, 100.0f, 100.0f).tagged = 1;
  balls[1].hp = 1;
  place_ball(2, 1, 102.0f, 100.0f);
  place_shot(1, 1, 101.0f, 100.0f);
  check_projectile_hits(1);
  EXPECT_EQ(round_state.score, 1200);
  EXPECT_TRUE(message_shown("Tagged Ball Bonus! + 1200 Pts"));
  EXPECT_EQ(balls[2].active, 1);
  EXPECT_EQ(balls[2].x, 102.0f);
}

TEST(CannonHits, AShotKeepsTheWeaponThatFiredIt) {
  fresh_round();
  round_state.weapon = 3;  // the player switched to the blasters after firing the cannon
  place_ball(1, 2, 100.0f, 100.0f);
  place_ball(2, 2, 120.0f, 100.0f);
  place_shot(1, 1, 110.0f, 100.0f);  // 10 from both: a blaster would detonate
  check_projectile_hits(1);
  EXPECT_EQ(projectiles[1].active, 1);
  EXPECT_EQ(round_state.score, 0);
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
  round_state.ball_count = 9;
  check_projectile_hits(1);
  EXPECT_EQ(projectiles[1].active, 0);
  EXPECT_EQ(round_state.score, 65 + 125 + 110 + 95);
  EXPECT_EQ(balls[8].x, 240.0f);
  EXPECT_EQ(balls[8].hp, 2);
  // Slot order: 2, 5, 7, 9. The count completes on ball 7, so the powerup appears where it was.
  ASSERT_EQ(powerups[1].active, 1);
  EXPECT_EQ(powerups[1].x, 200.0f);
  EXPECT_EQ(powerups[1].y, 239.5f);
  EXPECT_EQ(round_state.powerup_kills, 1);
}

TEST(BlasterHits, NothingWithinThirtyMeansNoDetonation) {
  fresh_round();
  place_ball(1, 1, 230.0f, 200.0f);
  place_shot(1, 3, 200.0f, 200.0f);
  check_projectile_hits(1);
  EXPECT_EQ(projectiles[1].active, 1);
  EXPECT_EQ(balls[1].x, 230.0f);
}

TEST(BlasterHits, ARetiredShotDoesNothing) {
  fresh_round();
  place_ball(1, 1, 200.0f, 200.0f);
  place_shot(1, 3, 200.0f, 200.0f).active = 0;
  check_projectile_hits(1);
  place_shot(2, 1, 200.0f, 200.0f).active = 0;
  check_projectile_hits(2);
  EXPECT_EQ(balls[1].x, 200.0f);
  EXPECT_EQ(round_state.score, 0);
}

TEST(Homing, SixDegreesTowardEachTargetInRangeAndNoneWithinTheStep) {
  fresh_round();
  round_state.homing_timer = 10;
  // Heading 0 moves down the screen; a ball due right of the shot lies at bearing 90.
  place_shot(1, 1, 200.0f, 200.0f, 0.0);
  place_ball(1, 1, 250.0f, 200.0f);
  check_projectile_hits(1);
  EXPECT_EQ(projectiles[1].heading_deg, 6);
  EXPECT_NEAR(projectiles[1].angle, 6 * kPi6 / 180.0, 1e-12);
  // Heading 10, bearing 7 (within the step, below the heading): the two corrections cancel.
  place_shot(1, 1, 200.0f, 200.0f, 10.0 * kPi6 / 180.0);
  place_ball(1, 1, 206.09f, 249.63f);
  check_projectile_hits(1);
  EXPECT_EQ(projectiles[1].heading_deg, 10);
  // Heading 0, bearing 4: one step past it to 6, where it then stays.
  place_shot(1, 1, 200.0f, 200.0f, 0.0);
  place_ball(1, 1, 203.5f, 250.0f);
  check_projectile_hits(1);
  EXPECT_EQ(projectiles[1].heading_deg, 6);
  check_projectile_hits(1);
  EXPECT_EQ(projectiles[1].heading_deg, 6);
  // Three targets in range each pull once, the short way round: 90, 270 (from 6: -6 -> 0)...
  place_shot(1, 1, 200.0f, 200.0f, 0.0);
  place_ball(1, 1, 240.0f, 200.0f);   // bearing 90: +6
  place_ball(2, 1, 200.0f, 150.0f);   // bearing 180 from 6: +6 -> 12
  place_ball(3, 1, 170.0f, 200.0f);   // bearing 270 from 12: the short way is down, -6 -> 6
  check_projectile_hits(1);
  EXPECT_EQ(projectiles[1].heading_deg, 6);
  // Out of range (60) or homing off: no turn.
  place_shot(1, 1, 200.0f, 200.0f, 0.0);
  round_state.ball_count = 0;
  place_ball(1, 1, 260.0f, 200.0f);
  check_projectile_hits(1);
  EXPECT_EQ(projectiles[1].heading_deg, 0);
  round_state.homing_timer = 0;
  place_ball(1, 1, 250.0f, 200.0f);
  check_projectile_hits(1);
  EXPECT_EQ(projectiles[1].heading_deg, 0);
}

TEST(Homing, InactiveBallsDoNotPull) {
  fresh_round();
  round_state.homing_timer = 10;
  place_shot(1, 3, 200.0f, 200.0f, 0.0);
  place_ball(1, 1, 240.0f, 200.0f).active = 0;
  check_projectile_hits(1);
  EXPECT_EQ(projectiles[1].heading_deg, 0);
}
