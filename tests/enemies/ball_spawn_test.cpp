// Ball placement: the bands, the four draws in their order, the aim spread and the kinds.
#include <gtest/gtest.h>

#include "combat_fixture.h"
#include "enemies/balls.h"

using namespace combat_test;

namespace {

struct Band {
  int xw, xo, yw, yo;
};
constexpr Band kBands[3][4] = {{},
                               {{40, -80, 500, -20}, {40, 680, 500, -20}, {660, -20, 40, -80}, {660, -20, 40, 490}},
                               {{80, -120, 510, -30}, {80, 680, 510, -30}, {670, -30, 80, -120}, {670, -30, 80, 490}}};

// The spread actually applied: the ball's direction less the one to the pivot, folded into -180..180.
double spread_of(const Ball& b) { return std::remainder(b.angle * 180.0 / kPi6 - direction_to_pivot_deg(b.x, b.y), 360.0); }

void expect_in_band(const Ball& b, int mode, const double* v) {
  const Band& band = kBands[mode][static_cast<int>(std::floor(v[0] * 4))];
  ASSERT_EQ(b.x, std::floor(v[1] * band.xw) + band.xo);
  ASSERT_EQ(b.y, std::floor(v[2] * band.yw) + band.yo);
}

}  // namespace

TEST(BallSpawn, FourDrawsGiveSideBandAndSpreadInEveryModeEvenWhileTheWaveCloses) {
  fresh_round();
  for (int mode = 1; mode <= 2; ++mode)
    for (int accuracy = 1; accuracy <= 2; ++accuracy)
      for (int closing = 0; closing <= 1; ++closing)
        for (int n = 0; n < 200; ++n) {
          SCOPED_TRACE(testing::Message() << "mode " << mode << " accuracy " << accuracy << " closing " << closing);
          double v[5];
          draws_after_seed(1000 * mode + 100 * accuracy + 10 * closing + n * 7919, v, 5);
          round_state.ball_accuracy = accuracy;
          round_state.wave_closing = closing;
          balls[3].kind = 2;
          spawn_ball(3, mode);
          expect_in_band(balls[3], mode, v);
          const int spread = accuracy == 1 ? static_cast<int>(std::floor(v[3] * 70)) - 34
                                           : static_cast<int>(std::floor(v[3] * 32)) - 15;
          ASSERT_NEAR(spread_of(balls[3]), spread, 1e-3);
          ASSERT_EQ(rnd(), v[4]);  // exactly four draws, placed or not
          ASSERT_EQ(balls[3].active, 1 - closing);
        }
}

TEST(BallSpawn, DirectionPointsAtThePivotClockwiseFromUpAndTheSpreadWrapsBelow360) {
  // Straight below lands on 360 itself: the decimal half-pi is a hair above the true one.
  EXPECT_NEAR(direction_to_pivot_deg(320, 500), 360.0, 1e-3);
  EXPECT_NEAR(direction_to_pivot_deg(-60, 220), 90.0, 1e-3);
  EXPECT_NEAR(direction_to_pivot_deg(320, -60), 180.0, 1e-3);
  EXPECT_NEAR(direction_to_pivot_deg(700, 220), 270.0, 1e-3);
  fresh_round();
  balls[1].kind = 1;
  for (int accuracy = 1; accuracy <= 2; ++accuracy) {
    round_state.ball_accuracy = accuracy;
    int lo = 99, hi = -99, negatives = 0;
    for (int n = 0; n < 20000; ++n) {
      spawn_ball(1, 1);
      const double deg = balls[1].angle * 180.0 / kPi6;
      ASSERT_TRUE(deg > -1.0 && deg <= 359.0 + 1e-4) << deg;  // 359..360 becomes a small negative angle
      negatives += deg < 0.0;
      const int s = static_cast<int>(std::lround(spread_of(balls[1])));
      lo = std::min(lo, s);
      hi = std::max(hi, s);
    }
    EXPECT_EQ(lo, accuracy == 1 ? -34 : -15);
    EXPECT_EQ(hi, accuracy == 1 ? 35 : 16);
    EXPECT_GT(negatives, 0);
  }
}

TEST(BallSpawn, KindsSetSpeedAndHp) {
  fresh_round();
  const float speed[6] = {0, 1.2f, 1.56f, 1.8f, 1.8f, 1.92f};  // 1.0, 1.3, 1.5, 1.5, 1.6 times 1.2
  const int hp[6] = {0, 1, 1, 2, 3, 4};
  for (int k = 1; k <= 5; ++k) {
    balls[1].kind = k;
    spawn_ball(1, 2);
    EXPECT_NEAR(balls[1].speed, speed[k], 1e-6) << k;
    EXPECT_EQ(balls[1].hp, hp[k]) << k;
  }
}

TEST(BallSpawn, ABallThatLeavesTheLiveBoxIsRerolledButBottomBandSpawnsFlyOn) {
  fresh_round();
  place_ball(1, 1, -49.5f, 300.0f, 270.0, 1.2f);  // moving left: past -50 after its move
  double v[5];
  draws_after_seed(99, v, 5);
  update_balls();
  expect_in_band(balls[1], 1, v);
  EXPECT_EQ(rnd(), v[4]);
  // Mode-1 bottom positions lie below the live box, yet the first move takes them up into it.
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
