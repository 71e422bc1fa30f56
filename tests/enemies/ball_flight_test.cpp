// update_balls: the line strike, the killer line, the hole and tagging, the laser burn.
#include <gtest/gtest.h>

#include "combat_fixture.h"
#include "effects/powerups.h"
#include "enemies/balls.h"

using namespace combat_test;

TEST(BallStrike, OrdinaryStrikeCostsEnergyByKindAndThirtyPointsNeverBelowZero) {
  const float loss[6] = {0, 1.0f, 2.0f, 3.0f, 3.3f, 3.3f};
  for (int k = 1; k <= 5; ++k) {
    for (int colour = 0; colour < 2; ++colour) {
      fresh_round();
      round_state.score = k == 3 ? 10 : 100;
      // The ball's diagonal reaches the line 4 pixels out: body, or the red tip.
      box(300, 204, 330, 204, colour == 0 ? kBody : kTip);
      place_ball(2, k, 310.0f, 200.0f);
      update_balls();
      EXPECT_NEAR(round_state.energy, 100.0f - loss[k], 1e-4) << k;
      EXPECT_EQ(round_state.score, k == 3 ? 0 : 70) << k;
      EXPECT_EQ(round_state.line_hit, 1);
      EXPECT_EQ(round_state.powerup_kills, 0);  // an ordinary strike is no kill
      EXPECT_TRUE(balls[2].x < -40 || balls[2].x > 679 || balls[2].y < -40 || balls[2].y > 489);
      // Not drawn in the frame it strikes.
      EXPECT_NE(gfx_point(nullptr, 310, 200), kSpriteColour & 0x00FFFFFFu);
    }
  }
}

TEST(BallStrike, NoStrikeFiveOrMorePixelsAwayNorWithTheEnergyGone) {
  fresh_round();
  box(300, 205, 330, 205, kBody);
  place_ball(1, 1, 310.0f, 200.0f);
  update_balls();
  EXPECT_EQ(round_state.energy, 100.0f);
  EXPECT_EQ(balls[1].x, 310.0f);

  fresh_round();
  round_state.energy = 0.0f;
  box(300, 200, 330, 200, kBody);
  place_ball(1, 1, 310.0f, 200.0f);
  update_balls();
  EXPECT_EQ(round_state.energy, 0.0f);
  EXPECT_EQ(balls[1].x, 310.0f);
  EXPECT_EQ(round_state.line_hit, 0);
}

TEST(BallStrike, EnergyNeverFallsBelowZero) {
  fresh_round();
  round_state.energy = 2.0f;
  box(300, 200, 330, 200, kBody);
  place_ball(1, 5, 310.0f, 200.0f);
  update_balls();
  EXPECT_EQ(round_state.energy, 0.0f);
}

TEST(BallStrike, KillerLineKillsPaysAndCountsTowardsThePowerup) {
  fresh_round();
  round_state.killer_line_timer = 100;
  round_state.powerup_kills = 19;  // this kill completes the count of 20
  box(300, 200, 330, 200, kBody);
  place_ball(1, 2, 310.0f, 200.0f);
  place_ball(2, 4, 320.0f, 204.0f);
  balls[2].tagged = 1;
  balls[2].hp = 1;
  update_balls();
  EXPECT_EQ(round_state.energy, 100.0f);
  EXPECT_EQ(round_state.line_hit, 0);
  EXPECT_EQ(round_state.score, 80 + 1800);  // the tagged ball pays only its bonus
  EXPECT_TRUE(message_shown("Tagged Ball Bonus! + 1800 Pts"));
  EXPECT_EQ(round_state.powerup_kills, 1);
  ASSERT_EQ(powerups[1].active, 1);  // released where ball 1 was, after its move (speed 0)
  EXPECT_EQ(powerups[1].x, 310.0f);
  EXPECT_EQ(powerups[1].y, 200.0f);
}

TEST(BallStrike, ATaggedBallOnTheOrdinaryLineLosesItsBonus) {
  fresh_round();
  box(300, 200, 330, 200, kBody);
  place_ball(1, 1, 310.0f, 200.0f).tagged = 1;
  round_state.score = 500;
  update_balls();
  EXPECT_EQ(round_state.score, 470);
  EXPECT_EQ(round_state.energy, 99.0f);
}

namespace {

// A kind-1 ball falling straight down through the hole, the scene redrawn each frame.
int frames_until_tagged(int limit) {
  place_ball(1, 1, 320.0f, 195.0f, 180.0, 1.2f);
  for (int f = 1; f <= limit; ++f) {
    clear_page();
    draw_horizontal_line();
    update_balls();
    if (balls[1].tagged == 1) return f;
  }
  return 0;
}

}  // namespace

TEST(BallHole, ABallThroughTheHoleIsTaggedOnceWhenItsSpriteCoversAMarker) {
  fresh_round();
  round_state.score = 10;
  const int f = frames_until_tagged(40);
  ASSERT_GT(f, 0);
  // Tagged in the first frame its disc (radius 7) reaches the pivot marker.
  EXPECT_NEAR(balls[1].y, 213.0f, 0.6f);
  EXPECT_EQ(balls[1].hp, 1);
  EXPECT_EQ(round_state.score, 10 + 65);
  EXPECT_TRUE(message_shown("Ball Tagged! + 65 Pts"));
  // Flying on, it is drawn with the tagged sprite and never tagged again.
  for (int n = 0; n < 20; ++n) {
    clear_page();
    draw_horizontal_line();
    update_balls();
  }
  EXPECT_EQ(round_state.score, 75);
  EXPECT_GT(balls[1].y, 230.0f);
}

TEST(BallHole, MarkersArePlottedOnTheAxisForEveryBallUnlessNoHoleOrNoEnergy) {
  fresh_round();
  set_line_angle(0);  // the line points straight down: markers at (320, 230) and (320, 210)
  place_ball(1, 1, 100.0f, 100.0f);
  update_balls();
  EXPECT_EQ(gfx_point(nullptr, 320, 220), 0xFF000000u);
  EXPECT_EQ(gfx_point(nullptr, 320, 230), 0xFF000000u);
  EXPECT_EQ(gfx_point(nullptr, 320, 210), 0xFF000000u);
  EXPECT_EQ(balls[1].tagged, 0);

  for (int variant = 0; variant < 2; ++variant) {
    fresh_round();
    if (variant == 0) round_state.no_hole_timer = 5;
    else round_state.energy = 0.0f;
    EXPECT_EQ(frames_until_tagged(40), 0) << variant;
    EXPECT_EQ(round_state.score, 0);
    EXPECT_NE(gfx_point(nullptr, 330, 220), 0xFF000000u);
  }
}

TEST(BallHole, AGrazingBallStrikesInsteadOfBeingTagged) {
  fresh_round();
  place_ball(1, 3, 343.0f, 195.0f, 180.0, 1.8f);  // falls onto the front arm near the hole
  for (int f = 0; f < 20 && round_state.line_hit == 0; ++f) {
    clear_page();
    draw_horizontal_line();
    update_balls();
  }
  EXPECT_EQ(round_state.line_hit, 1);
  EXPECT_EQ(round_state.score, 0);
  EXPECT_TRUE(messages[1].active == 0);
}

TEST(BallLaser, ABurnInsideTheBoxDestroysAnyKindAndPaysItsPoints) {
  const Colour laser[6] = {0xFFFFF5FFu, 0xFFFFFBFFu, 0xFFFFF0FFu, 0xFFFEFEFEu, 0xFFFFFFFFu, 0xFFFEFFFFu};
  for (int k = 1; k <= 5; ++k) {
    fresh_round();
    gfx_pset(nullptr, 204, 296, laser[k]);  // offset (4, -4) from the centre
    place_ball(1, k, 200.0f, 300.0f);
    update_balls();
    EXPECT_EQ(round_state.score, k * 15 + 50) << k;
    EXPECT_EQ(round_state.powerup_kills, 1);
    EXPECT_NE(balls[1].x, 200.0f);
  }
  // A pixel 5 out on the diagonal, or not quite a laser colour, burns nothing.
  fresh_round();
  gfx_pset(nullptr, 205, 305, 0xFFFFFFFFu);
  gfx_pset(nullptr, 202, 300, 0xFFFFFFFEu);
  place_ball(1, 5, 200.0f, 300.0f);
  update_balls();
  EXPECT_EQ(round_state.score, 0);
}

TEST(BallLaser, NoBurnOutsideTheBox) {
  struct Spot {
    float x, y;
    bool burns;
  };
  const Spot spots[] = {{8.0f, 100.0f, false}, {9.0f, 100.0f, true},  {632.0f, 100.0f, false},
                        {631.0f, 100.0f, true}, {100.0f, 8.0f, false}, {100.0f, 471.0f, false},
                        {100.0f, 470.0f, true}};
  for (const Spot& s : spots) {
    fresh_round();
    gfx_pset(nullptr, s.x, s.y, 0xFFFFFFFFu);
    place_ball(1, 1, s.x, s.y);
    update_balls();
    EXPECT_EQ(round_state.score, s.burns ? 65 : 0) << s.x << "," << s.y;
  }
}

TEST(BallLaser, KillingATaggedBallPaysTheTaggedBonus) {
  fresh_round();
  gfx_pset(nullptr, 100, 100, 0xFFFFFFFFu);
  place_ball(1, 5, 100.0f, 100.0f).tagged = 1;
  balls[1].hp = 1;
  update_balls();
  EXPECT_EQ(round_state.score, 2000);
  EXPECT_TRUE(message_shown("Tagged Ball Bonus! + 2000 Pts"));
}

TEST(BallKill, DestroyBallReleasesThePowerupWhereTheBallWasThenRespawnsIt) {
  fresh_round();
  round_state.powerup_kills = 22;
  round_state.powerup_kills_needed = 23;
  place_ball(4, 2, 123.0f, 234.0f);
  double v[3];
  draws_after_seed(31, v, 3);
  destroy_ball(4);
  EXPECT_EQ(round_state.powerup_kills, 0);
  // The new count is drawn first, then the powerup's kind.
  EXPECT_EQ(round_state.powerup_kills_needed, static_cast<int>(std::floor(v[0] * 4)) + 20);
  ASSERT_EQ(powerups[1].active, 1);
  EXPECT_EQ(powerups[1].kind, powerup_kind_from_draw(static_cast<int>(std::floor(v[1] * 23)) + 1));
  EXPECT_EQ(powerups[1].x, 123.0f);
  EXPECT_EQ(powerups[1].y, 234.0f);
  EXPECT_EQ(round_state.score, 80);
  EXPECT_NE(balls[4].x, 123.0f);

  // Short of the count: no powerup and the count needed stays.
  fresh_round();
  place_ball(1, 1, 50.0f, 50.0f);
  destroy_ball(1);
  EXPECT_EQ(round_state.powerup_kills, 1);
  EXPECT_EQ(round_state.powerup_kills_needed, 20);
  EXPECT_EQ(powerups[1].active, 0);
}

TEST(BallFlight, OnlySlotsUpToBallCountAreVisitedAndEnemyAliveIsRaised) {
  fresh_round();
  place_ball(1, 1, 100.0f, 100.0f, 90.0, 1.2f);
  place_ball(2, 1, 100.0f, 150.0f, 90.0, 1.2f).active = 0;
  place_ball(3, 1, 100.0f, 200.0f, 90.0, 1.2f);
  round_state.ball_count = 2;
  update_balls();
  EXPECT_EQ(round_state.enemy_alive, 1);
  EXPECT_FLOAT_EQ(balls[1].x, 101.2f);
  EXPECT_EQ(balls[2].x, 100.0f);
  EXPECT_EQ(balls[3].x, 100.0f);
  round_state.enemy_alive = 0;
  balls[1].active = 0;
  update_balls();
  EXPECT_EQ(round_state.enemy_alive, 0);
}
