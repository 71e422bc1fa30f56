// Ball placement: the bands, the four draws in their order, the aim spread and the kinds.
#include <gtest/gtest.h>

#include <cmath>

#include "combat_fixture.h"
#include "enemies/balls.h"

using namespace combat_test;

namespace {

struct Band {
  int xw, xo, yw, yo;
};
constexpr Band kMode1[4] = {{40, -80, 500, -20}, {40, 680, 500, -20}, {660, -20, 40, -80}, {660, -20, 40, 490}};
constexpr Band kMode2[4] = {{80, -120, 510, -30}, {80, 680, 510, -30}, {670, -30, 80, -120}, {670, -30, 80, 490}};

double angle_deg(const Ball& b) { return b.angle * 180.0 / kPi6; }

// Signed difference a - b folded into -180..180.
double fold(double d) {
  while (d > 180.0) d -= 360.0;
  while (d < -180.0) d += 360.0;
  return d;
}

}  // namespace

TEST(BallSpawn, FourDrawsInOrderGiveSideBandAndSpreadInEveryMode) {
  fresh_round();
  for (int mode = 1; mode <= 2; ++mode) {
    for (int accuracy = 1; accuracy <= 2; ++accuracy) {
      for (int closing = 0; closing <= 1; ++closing) {
        for (int n = 0; n < 200; ++n) {
          const double seed = 1000 * mode + 100 * accuracy + 10 * closing + n * 7919;
          double v[5];
          draws_after_seed(seed, v, 5);
          round_state.ball_accuracy = accuracy;
          round_state.wave_closing = closing;
          balls[3].kind = 2;
          spawn_ball(3, mode);
          const Ball& b = balls[3];
          const int side = static_cast<int>(std::floor(v[0] * 4));
          const Band& band = (mode == 1 ? kMode1 : kMode2)[side];
          ASSERT_EQ(b.x, std::floor(v[1] * band.xw) + band.xo);
          ASSERT_EQ(b.y, std::floor(v[2] * band.yw) + band.yo);
          const int spread = accuracy == 1 ? static_cast<int>(std::floor(v[3] * 70)) - 34
                                           : static_cast<int>(std::floor(v[3] * 32)) - 15;
          ASSERT_NEAR(fold(angle_deg(b) - direction_to_pivot_deg(b.x, b.y)), spread, 1e-3);
          // Exactly four draws, even for a spawn that stays inactive while the wave closes.
          ASSERT_EQ(rnd(), v[4]);
          ASSERT_EQ(b.active, closing == 0 ? 1 : 0);
          ASSERT_EQ(b.tagged, 0);
          ASSERT_EQ(b.hp, 1);
        }
      }
    }
  }
}

TEST(BallSpawn, DirectionPointsAtThePivotClockwiseFromUp) {
  // Straight below lands on 360 itself: the decimal half-pi is a hair above the true one.
  EXPECT_NEAR(direction_to_pivot_deg(320, 500), 360.0, 1e-3);
  EXPECT_NEAR(direction_to_pivot_deg(-60, 220), 90.0, 1e-3);   // left: fly right
  EXPECT_NEAR(direction_to_pivot_deg(320, -60), 180.0, 1e-3);  // above: fly down
  EXPECT_NEAR(direction_to_pivot_deg(700, 220), 270.0, 1e-3);  // right: fly left
}

TEST(BallSpawn, SpreadCoversItsWholeRangeAndWrapsJustBelow360ToASmallNegativeAngle) {
  fresh_round();
  balls[1].kind = 1;
  for (int accuracy = 1; accuracy <= 2; ++accuracy) {
    round_state.ball_accuracy = accuracy;
    int lo = 99, hi = -99, negatives = 0;
    for (int n = 0; n < 20000; ++n) {
      spawn_ball(1, 1);
      const Ball& b = balls[1];
      const double deg = angle_deg(b);
      ASSERT_LE(deg, 359.0 + 1e-4);
      ASSERT_GT(deg, -1.0);
      if (deg < 0.0) ++negatives;
      const int s = static_cast<int>(std::lround(fold(deg - direction_to_pivot_deg(b.x, b.y))));
      lo = std::min(lo, s);
      hi = std::max(hi, s);
    }
    EXPECT_EQ(lo, accuracy == 1 ? -34 : -15);
    EXPECT_EQ(hi, accuracy == 1 ? 35 : 16);
    EXPECT_GT(negatives, 0);
  }
}

TEST(BallSpawn, KindsSetSpeedAndHpAndUnknownKindsKeepTheirs) {
  fresh_round();
  const double mult[6] = {0, 1.0, 1.3, 1.5, 1.5, 1.6};
  const int hp[6] = {0, 1, 1, 2, 3, 4};
  for (int k = 1; k <= 5; ++k) {
    balls[1].kind = k;
    spawn_ball(1, 2);
    EXPECT_EQ(balls[1].speed, static_cast<float>(mult[k] * 1.2f)) << k;
    EXPECT_EQ(balls[1].hp, hp[k]) << k;
  }
  EXPECT_FLOAT_EQ(balls[1].speed, 1.92f);
  balls[1].kind = 7;
  balls[1].speed = 9.0f;
  balls[1].hp = 9;
  balls[1].tagged = 1;
  spawn_ball(1, 1);
  EXPECT_EQ(balls[1].speed, 9.0f);
  EXPECT_EQ(balls[1].hp, 9);
  EXPECT_EQ(balls[1].tagged, 0);
  EXPECT_EQ(balls[1].kind, 7);
}

TEST(BallSpawn, ABallThatLeavesTheLiveBoxIsRerolledAndBottomBandPositionsStay) {
  fresh_round();
  // Moving left from x -49.5: past -50 after its move, so it is re-rolled in mode 1.
  place_ball(1, 1, -49.5f, 300.0f, 270.0, 1.2f);
  double v[5];
  draws_after_seed(99, v, 5);
  update_balls();
  const int side = static_cast<int>(std::floor(v[0] * 4));
  const Band& band = kMode1[side];
  EXPECT_EQ(balls[1].x, std::floor(v[1] * band.xw) + band.xo);
  EXPECT_EQ(balls[1].y, std::floor(v[2] * band.yw) + band.yo);
  EXPECT_EQ(rnd(), v[4]);

  // Every mode-1 bottom position stays: its first move takes it up towards the pivot.
  round_state.ball_count = 1;
  int bottoms = 0;
  for (int n = 0; n < 2000; ++n) {
    spawn_ball(1, 1);
    if (balls[1].y < 490.0f) continue;
    ++bottoms;
    const float x0 = balls[1].x, y0 = balls[1].y;
    update_balls();
    ASSERT_NEAR(std::hypot(balls[1].x - x0, balls[1].y - y0), balls[1].speed, 1e-3);
  }
  EXPECT_GT(bottoms, 300);
}
