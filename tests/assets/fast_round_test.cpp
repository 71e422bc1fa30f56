// The assets' inline rounding must agree with round_even everywhere they use it, ties included.
#include <gtest/gtest.h>

#include <cmath>

#include "assets/fast_round.h"
#include "base/random.h"
#include "base/rounding.h"

namespace {

TEST(FastRound, AgreesWithRoundEvenOnTiesAndFractions) {
  for (double v : {0.0, 0.5, 1.5, 2.5, 3.5, 124.5, 125.5, 254.5, 255.5, 0.49999999999999994, 1.25, 1.875,
                   638.75, 639.5, 640.0, -0.5, -1.5, -2.5, -0.75, 1e9 + 0.5, 2147483647.0})
    EXPECT_EQ(round_even_fast(v), round_even(v)) << v;
  randomize(11);
  for (int i = 0; i < 100000; ++i) {
    // Sixteenths hit the ties of the cloud's coordinates; plain draws and colour products the rest.
    const double sixteenths = std::floor(rnd() * 16 * 700) / 16, plain = rnd() * 300 - 20;
    const float product = 205.0f * static_cast<float>(rnd());
    ASSERT_EQ(round_even_fast(sixteenths), round_even(sixteenths)) << sixteenths;
    ASSERT_EQ(round_even_fast(plain), round_even(plain)) << plain;
    ASSERT_EQ(round_even_fast(product), round_even(product)) << product;
  }
}

}  // namespace
