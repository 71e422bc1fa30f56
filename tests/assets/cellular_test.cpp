// The cellular backgrounds: the seeded points, the single-precision distance, and the fast row
// pass against the plain one.
#include <gtest/gtest.h>

#include "asset_setup.h"
#include "assets/cellular.h"

namespace {

TEST(CellularPoints, ScatterFromTheSeedAndLeaveTheUnwrittenTailAtTheOrigin) {
  ensure_assets_generated();
  // rnd() * 640 then rnd() * 480, each rounded to single: 31.956577, 187.72394 first.
  const float first[3][2] = {
      {0x1.ff4e24p+4f, 0x1.7772a8p+7f}, {0x1.0736eep+8f, 0x1.4b6cbap+8f}, {0x1.d8da56p+7f, 0x1.22c8d8p+8f}};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(first_xs[i], first[i][0]) << i;
    EXPECT_EQ(first_ys[i], first[i][1]) << i;
  }
  EXPECT_EQ(second_xs[0], 0x1.588c02p+8f);  // 344.5469
  EXPECT_EQ(second_ys[0], 0x1.b237c2p+6f);  // 108.55445
  EXPECT_NE(first_xs[107], 0.0f);
  for (int i = 108; i < kFirstPointCount; ++i) EXPECT_EQ(first_xs[i] + first_ys[i], 0.0f) << i;
  for (int i = 38; i < kSecondPointCount; ++i) EXPECT_EQ(second_xs[i] + second_ys[i], 0.0f) << i;
}

TEST(CellularDistance, MatchesHandValuesAndTheRowPassMatchesItBitForBit) {
  ensure_assets_generated();
  const struct { const float* xs; const float* ys; int count; } sets[] = {{first_xs, first_ys, kFirstPointCount}, {second_xs, second_ys, kSecondPointCount}};
  // The unwritten entries at (0, 0) make the top-left corner a cell centre of background 1.
  const struct { int set; float x, y, expected; } hand[] = {
      {0, 0, 0, 0.0f}, {0, 1, 0, 1.0f},
      {0, 320, 240, 0x1.dde43ep+4f}, {0, 639, 479, 0x1.af38a2p+4f},  // 29.868223, 26.951326
      {0, 100, 50, 0x1.f8d40ap+3f},                                  // 15.775884
      {1, 320, 240, 0x1.4800d4p+5f}, {1, 639, 479, 0x1.1fa268p+6f},  // 41.000404, 71.9086
  };
  for (const auto& h : hand) {
    const auto& s = sets[h.set];
    EXPECT_EQ(nearest_point_distance(h.x, h.y, s.xs, s.ys, s.count), h.expected) << h.set << ": " << h.x << "," << h.y;
  }
  float row[640];
  for (const auto& s : sets)
    for (int y = 0; y < 480; ++y) {
      nearest_point_distance_row(static_cast<float>(y), s.xs, s.ys, s.count, row);
      for (int x = 0; x < 640; ++x)
        ASSERT_EQ(row[x], nearest_point_distance(static_cast<float>(x), static_cast<float>(y), s.xs, s.ys, s.count))
            << x << "," << y;
    }
}

}  // namespace
