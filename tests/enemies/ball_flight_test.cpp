// update_balls: the line strike, the killer line, the hole and tagging, the laser burn.
#include <gtest/gtest.h>

#include "combat_fixture.h"
#include "effects/powerups.h"
#include "enemies/balls.h"

using namespace combat_test;

namespace {

bool outside_live_box(const Ball& b) { return b.x < -40 || b.x > 679 || b.y < -40 || b.y > 489; }

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

TEST(BallStrike, CostsByKindWithinFourPixelsOfTheLineAndNothingFallsBelowZero) {
  struct Row {
    int kind;
    Colour line;
    float line_y, energy0;
    int score0, tagged;
    float energy1;
    int score1;
  };
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
    const bool struck = r.score1 != r.score0;
    EXPECT_NEAR(round_state.energy, r.energy1, 1e-4);
    EXPECT_EQ(round_state.score, r.score1);
    EXPECT_EQ(round_state.line_hit, struck ? 1 : 0);
    EXPECT_EQ(round_state.powerup_kills, 0);  // an ordinary strike is no kill
    EXPECT_EQ(outside_live_box(balls[2]), struck);
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
  EXPECT_EQ(round_state.line_hit, 0);
  EXPECT_EQ(round_state.score, 80 + 1800);  // the tagged ball pays only its bonus
  EXPECT_TRUE(message_shown("Tagged Ball Bonus! + 1800 Pts"));
  EXPECT_EQ(round_state.powerup_kills, 1);
  ASSERT_EQ(powerups[1].active, 1);
  EXPECT_EQ(powerups[1].x, 310.0f);
  EXPECT_EQ(powerups[1].y, 200.0f);
}

TEST(BallHole, TaggedOnceThroughTheHoleButNeverUnderNoHoleNorWithoutEnergy) {
  fresh_round();
  round_state.score = 10;
  ASSERT_GT(frames_until_tagged(40), 0);
  EXPECT_NEAR(balls[1].y, 213.0f, 0.6f);  // the first frame its disc (radius 7) covers the pivot marker
  EXPECT_EQ(round_state.score, 10 + 65);
  EXPECT_TRUE(message_shown("Ball Tagged! + 65 Pts"));
  for (int n = 0; n < 20; ++n) {
    clear_page();
    draw_horizontal_line();
    update_balls();
  }
  EXPECT_EQ(round_state.score, 75);
  EXPECT_GT(balls[1].y, 230.0f);
  for (int variant = 0; variant < 2; ++variant) {
    fresh_round();
    if (variant == 0) round_state.no_hole_timer = 5;
    else round_state.energy = 0.0f;
    EXPECT_EQ(frames_until_tagged(40), 0) << variant;
    EXPECT_EQ(round_state.score, 0);
    EXPECT_NE(gfx_point(nullptr, 330, 220), 0xFF000000u);  // no markers either
  }
}

TEST(BallLaser, ABurnDestroysAnyKindOnlyOnLaserColoursWithinFourAndInsideTheBox) {
  struct Row {
    float bx, by, px, py;
    Colour c;
    int kind, tagged, score;
  };
  const Row rows[] = {{200, 300, 204, 296, 0xFFFFF5FFu, 1, 0, 65},   {200, 300, 204, 296, 0xFFFFFBFFu, 2, 0, 80},
                      {200, 300, 204, 296, 0xFFFFF0FFu, 3, 0, 95},   {200, 300, 204, 296, 0xFFFEFEFEu, 4, 0, 110},
                      {200, 300, 204, 296, 0xFFFFFFFFu, 5, 0, 125},  {200, 300, 196, 304, 0xFFFEFFFFu, 5, 0, 125},
                      {200, 300, 205, 305, 0xFFFFFFFFu, 5, 0, 0},    {200, 300, 202, 300, 0xFFFFFFFEu, 5, 0, 0},
                      {100, 100, 100, 100, 0xFFFFFFFFu, 5, 1, 2000}, {8, 100, 8, 100, 0xFFFFFFFFu, 1, 0, 0},
                      {9, 100, 9, 100, 0xFFFFFFFFu, 1, 0, 65},       {632, 100, 632, 100, 0xFFFFFFFFu, 1, 0, 0},
                      {631, 100, 631, 100, 0xFFFFFFFFu, 1, 0, 65},   {100, 8, 100, 8, 0xFFFFFFFFu, 1, 0, 0},
                      {100, 471, 100, 471, 0xFFFFFFFFu, 1, 0, 0},    {100, 470, 100, 470, 0xFFFFFFFFu, 1, 0, 65}};
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << "ball (" << r.bx << "," << r.by << ") pixel (" << r.px << "," << r.py << ")");
    fresh_round();
    gfx_pset(nullptr, r.px, r.py, r.c);
    place_ball(1, r.kind, r.bx, r.by).tagged = r.tagged;
    if (r.tagged) balls[1].hp = 1;
    update_balls();
    EXPECT_EQ(round_state.score, r.score);
    EXPECT_EQ(round_state.powerup_kills, r.score > 0 ? 1 : 0);
    EXPECT_EQ(message_shown("Tagged Ball Bonus! + 2000 Pts"), r.tagged == 1);
  }
}

TEST(BallKill, DestroyBallReleasesThePowerupWhereTheBallWasThenRespawnsIt) {
  fresh_round();
  round_state.powerup_kills = 22;
  round_state.powerup_kills_needed = 23;
  place_ball(4, 2, 123.0f, 234.0f);
  double v[3];
  draws_after_seed(31, v, 3);
  destroy_ball(4);
  EXPECT_EQ(round_state.score, 80);
  EXPECT_EQ(round_state.powerup_kills, 0);
  // The new count is drawn first, then the powerup's kind.
  EXPECT_EQ(round_state.powerup_kills_needed, static_cast<int>(std::floor(v[0] * 4)) + 20);
  ASSERT_EQ(powerups[1].active, 1);
  EXPECT_EQ(powerups[1].kind, powerup_kind_from_draw(static_cast<int>(std::floor(v[1] * 23)) + 1));
  EXPECT_EQ(powerups[1].x, 123.0f);
  EXPECT_EQ(powerups[1].y, 234.0f);
  EXPECT_NE(balls[4].x, 123.0f);
  // Short of the count: no powerup, and the count needed stays.
  destroy_ball(4);
  EXPECT_EQ(round_state.powerup_kills, 1);
  EXPECT_EQ(round_state.powerup_kills_needed, static_cast<int>(std::floor(v[0] * 4)) + 20);
  EXPECT_EQ(powerups[2].active, 0);
}
