// update_balls: the line strike, the killer line, the hole and tagging, the laser burn.
#include <gtest/gtest.h>

#include "combat_fixture.h"
#include "enemies/balls.h"
#include "powerups/powerups.h"

using namespace combat_test;

TEST(BallStrike, CostsByKindWithinFourPixelsOfTheLineAndNothingFallsBelowZero) {
  struct Row { int kind; Colour line; float line_y, energy0; int score0, tagged; float energy1; int score1; };
  // The ball rests at (310, 200); its diagonal senses 4 pixels out.
  const Row rows[] = {{1, kBody, 204, 100, 100, 0, 99.0f, 70},  {2, kTip, 204, 100, 100, 0, 98.0f, 70},
                      {3, kBody, 204, 100, 10, 0, 97.0f, 0},    {4, kTip, 204, 100, 100, 0, 96.7f, 70},
                      {5, kBody, 204, 100, 100, 0, 96.7f, 70},  {5, kBody, 200, 2, 100, 0, 0.0f, 70},
                      {1, kBody, 205, 100, 100, 0, 100.0f, 100}, {1, kBody, 200, 0, 100, 0, 0.0f, 100},
                      {1, kBody, 200, 100, 500, 1, 99.0f, 470}};  // a tagged ball loses its bonus
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << "kind " << r.kind << " line y " << r.line_y << " energy " << r.energy0);
    fresh_round();
    round_state.energy = r.energy0;
    round_state.score = r.score0;
    box(300, r.line_y, 330, r.line_y, r.line);
    place_ball(2, r.kind, 310.0f, 200.0f).tagged = r.tagged;
    update_balls();
    const int struck = r.score1 != r.score0, moved = balls[2].x != 310.0f || balls[2].y != 200.0f;
    EXPECT_NEAR(round_state.energy, r.energy1, 1e-4);
    // An ordinary strike is no kill; the struck ball is sent back to an edge.
    EXPECT_EQ((std::array{round_state.score, round_state.line_hit, round_state.powerup_kills, moved}),
              (std::array{r.score1, struck, 0, struck}));
  }
}

TEST(BallStrike, KillerLineKillsPaysAndReleasesThePowerupWhereTheCompletingBallWas) {
  fresh_round();
  round_state.killer_line_timer = 100;
  round_state.powerup_kills = 19;
  box(300, 200, 330, 200, kBody);
  place_ball(1, 2, 310.0f, 200.0f);
  place_ball(2, 4, 320.0f, 204.0f).tagged = 1;
  balls[2].hp = 1;
  update_balls();
  EXPECT_EQ(round_state.energy, 100.0f);
  // The tagged ball pays only its bonus.
  EXPECT_EQ((std::array{round_state.line_hit, round_state.score, round_state.powerup_kills}),
            (std::array{0, 80 + 1800, 1}));
  EXPECT_TRUE(message_shown("Tagged Ball Bonus! + 1800 Pts"));
  EXPECT_TRUE(powerup_at(1, 310.0f, 200.0f));
}

TEST(BallHole, TaggedOnceThroughTheHoleButNeverUnderNoHoleNorWithoutEnergy) {
  for (int variant = 0; variant < 3; ++variant) {  // the hole open, No hole, energy gone
    SCOPED_TRACE(variant);
    fresh_round();
    round_state.no_hole_timer = variant == 1 ? 5 : 0;
    round_state.energy = variant == 2 ? 0.0f : 100.0f;
    // A kind-1 ball falling straight down through the hole, the scene redrawn each frame.
    place_ball(1, 1, 320.0f, 195.0f, 180.0, 1.2f);
    float tagged_at = 0.0f;
    for (int f = 0; f < 60; ++f) {
      clear_page();  // the line of angle 90: body 20..49 each side of its hole, tip 50..55 in front
      box(340, 218, 369, 221, kBody);
      box(370, 218, 375, 221, kTip);
      box(265, 218, 300, 221, kBody);
      update_balls();
      if (balls[1].tagged == 1 && tagged_at == 0.0f) tagged_at = balls[1].y;
    }
    // Tagged on the first frame its disc (radius 7) covers the pivot marker, and paid once.
    EXPECT_NEAR(tagged_at, variant == 0 ? 213.0f : 0.0f, 0.6f);
    EXPECT_EQ(round_state.score, variant == 0 ? 65 : 0);
    EXPECT_EQ(message_shown("Ball Tagged! + 65 Pts"), variant == 0);
  }
}

TEST(BallLaser, ABurnDestroysAnyKindOnlyOnLaserColoursWithinFourAndInsideTheBox) {
  struct Row { float bx, by, px, py; Colour c; int kind, tagged, score; };
  const Row rows[] = {{200, 300, 204, 296, 0xFFFFF5FFu, 1, 0, 65},   {200, 300, 204, 296, 0xFFFFFBFFu, 2, 0, 80},
                      {200, 300, 204, 296, 0xFFFFF0FFu, 3, 0, 95},   {200, 300, 204, 296, 0xFFFEFEFEu, 4, 0, 110},
                      {200, 300, 204, 296, 0xFFFFFFFFu, 5, 0, 125},  {200, 300, 196, 304, 0xFFFEFFFFu, 5, 0, 125},
                      {200, 300, 205, 305, 0xFFFFFFFFu, 5, 0, 0},    {200, 300, 202, 300, 0xFFFFFFFEu, 5, 0, 0},
                      {100, 100, 100, 100, 0xFFFFFFFFu, 5, 1, 2000}, {8, 100, 8, 100, 0xFFFFFFFFu, 1, 0, 0},
                      {9, 100, 9, 100, 0xFFFFFFFFu, 1, 0, 65},       {632, 100, 632, 100, 0xFFFFFFFFu, 1, 0, 0},
                      {100, 8, 100, 8, 0xFFFFFFFFu, 1, 0, 0},        {100, 471, 100, 471, 0xFFFFFFFFu, 1, 0, 0}};
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << "ball (" << r.bx << "," << r.by << ") pixel (" << r.px << "," << r.py << ")");
    fresh_round();
    gfx_pset(nullptr, r.px, r.py, r.c);
    place_ball(1, r.kind, r.bx, r.by).tagged = r.tagged;
    if (r.tagged) balls[1].hp = 1;
    update_balls();
    EXPECT_EQ((std::array{round_state.score, round_state.powerup_kills}), (std::array{r.score, r.score > 0 ? 1 : 0}));
    EXPECT_EQ(message_shown("Tagged Ball Bonus! + 2000 Pts"), r.tagged == 1);
  }
}

