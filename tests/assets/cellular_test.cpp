// The cellular backgrounds: the seeded points, the single-precision distance, the fast row
// pass against the plain one, and the colours that come out of them.
#include <gtest/gtest.h>

#include "asset_setup.h"
#include "assets/cellular.h"

namespace {

TEST(CellularPoints, FirstBackgroundScattersFromSeed12345AndLeavesTheTailAtTheOrigin) {
  ensure_assets_generated();
  // rnd() * 640 then rnd() * 480, each rounded to single.
  EXPECT_EQ(first_xs[0], 0x1.ff4e24p+4f);  // 31.956577
  EXPECT_EQ(first_ys[0], 0x1.7772a8p+7f);  // 187.72394
  EXPECT_EQ(first_xs[1], 0x1.0736eep+8f);
  EXPECT_EQ(first_ys[1], 0x1.4b6cbap+8f);
  EXPECT_EQ(first_xs[2], 0x1.d8da56p+7f);
  EXPECT_EQ(first_ys[2], 0x1.22c8d8p+8f);
  EXPECT_NE(first_xs[107], 0.0f);
  for (int i = 108; i < kFirstPointCount; ++i) EXPECT_EQ(first_xs[i] + first_ys[i], 0.0f) << i;
  EXPECT_EQ(second_xs[0], 0x1.588c02p+8f);  // 344.5469
  EXPECT_EQ(second_ys[0], 0x1.b237c2p+6f);  // 108.55445
  for (int i = 38; i < kSecondPointCount; ++i) EXPECT_EQ(second_xs[i] + second_ys[i], 0.0f) << i;
}

TEST(CellularDistance, MatchesSinglePrecisionValuesWorkedOutByHand) {
  ensure_assets_generated();
  // The unwritten entries at (0, 0) make the top-left corner a cell centre.
  EXPECT_EQ(nearest_point_distance(0.0f, 0.0f, first_xs, first_ys), 0.0f);
  EXPECT_EQ(nearest_point_distance(1.0f, 0.0f, first_xs, first_ys), 1.0f);
  EXPECT_EQ(nearest_point_distance(320.0f, 240.0f, first_xs, first_ys), 0x1.dde43ep+4f);  // 29.868223
  EXPECT_EQ(nearest_point_distance(639.0f, 479.0f, first_xs, first_ys), 0x1.af38a2p+4f);  // 26.951326
  EXPECT_EQ(nearest_point_distance(100.0f, 50.0f, first_xs, first_ys), 0x1.f8d40ap+3f);   // 15.775884
  EXPECT_EQ(nearest_point_distance(320.0f, 240.0f, second_xs, second_ys), 0x1.4800d4p+5f);  // 41.000404
  EXPECT_EQ(nearest_point_distance(639.0f, 479.0f, second_xs, second_ys), 0x1.1fa268p+6f);   // 71.9086
}

TEST(CellularDistance, RowPassIsBitIdenticalToThePlainDistanceOnBothBackgrounds) {
  ensure_assets_generated();
  float row[640];
  for (int y = 0; y < 480; ++y) {
    const float fy = static_cast<float>(y);
    nearest_point_distance_row(fy, first_xs, first_ys, kFirstPointCount, row);
    for (int x = 0; x < 640; ++x)
      ASSERT_EQ(row[x], nearest_point_distance(static_cast<float>(x), fy, first_xs, first_ys)) << x << "," << y;
    nearest_point_distance_row(fy, second_xs, second_ys, kSecondPointCount, row);
    for (int x = 0; x < 640; ++x)
      ASSERT_EQ(row[x], nearest_point_distance(static_cast<float>(x), fy, second_xs, second_ys)) << x << "," << y;
  }
}

TEST(CellularBackgrounds, CellCentreAtTheTopLeftHasTheNearColourBlendedOverBlack) {
  ensure_assets_generated();
  // t = 0: 0x730000CD over black: blue 205 * 115 / 256 -> 92, alpha 255 - 63 = 192.
  EXPECT_EQ(background_images[1]->row(0)[0], 0xC000005Cu);
  // t = 0: 0x55FF0000 over black: red 255 * 85 / 256 -> 84, alpha 255 - 57 = 198.
  EXPECT_EQ(background_images[2]->row(0)[0], 0xC6540000u);
  EXPECT_EQ(background_images[1]->width, 640);
  EXPECT_EQ(background_images[1]->height, 480);
}

}  // namespace
