// The cellular backgrounds: the single-precision distance, and the fast row pass against the
// plain one. (The seeded points show in the pinned backgrounds of generated_test.cpp.)
#include <gtest/gtest.h>

#include "asset_setup.h"
#include "assets/cellular.h"

namespace {

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
