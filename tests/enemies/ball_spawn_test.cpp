// Ball placement: the bands, the four draws in their order, the aim spread and the kinds.
#include <gtest/gtest.h>

#include "combat_fixture.h"
#include "enemies/balls.h"
#include "state/heading.h"

using namespace combat_test;

namespace {

const int kBands[3][4][4] = {{},
                             {{40, -80, 500, -20}, {40, 680, 500, -20}, {660, -20, 40, -80}, {660, -20, 40, 490}},
                             {{80, -120, 510, -30}, {80, 680, 510, -30}, {670, -30, 80, -120}, {670, -30, 80, 490}}};

// The spread actually applied: the ball's direction less the one to the pivot, folded into -180..180.
double spread_of(const Ball& b) { return std::remainder(b.angle * 180.0 / kPi6 - direction_to_pivot_deg(b.x, b.y), 360.0); }

}  // namespace

TEST(BallSpawn, FourDrawsGiveSideBandSpreadAndKindInEveryModeEvenWhileTheWaveCloses) {
  const float speed[6] = {0, 1.2f, 1.56f, 1.8f, 1.8f, 1.92f};  // 1.0, 1.3, 1.5, 1.5, 1.6 times 1.2
  const int hp[6] = {0, 1, 1, 2, 3, 4};
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
          const Ball& b = balls[3];
          balls[3].kind = 1 + n % 5;
          spawn_ball(3, mode);
          expect_in_band(b.x, b.y, kBands[mode], v);
          const int spread = accuracy == 1 ? static_cast<int>(std::floor(v[3] * 70)) - 34
                                           : static_cast<int>(std::floor(v[3] * 32)) - 15;
          ASSERT_NEAR(spread_of(b), spread, 1e-3);
          ASSERT_EQ(rnd(), v[4]);  // exactly four draws, placed or not
          ASSERT_EQ(b.active, 1 - closing);
          ASSERT_NEAR(b.speed, speed[b.kind], 1e-6);
          ASSERT_EQ(b.hp, hp[b.kind]);
        }
}

