#pragma once
// The combat round on a black page with no ghosts, so every pixel the line leaves can be counted.
#include <gtest/gtest.h>

#include "enemies/combat_fixture.h"

namespace line_test {
using namespace combat_test;

constexpr Colour kBlack = 0xFF000000u;

inline int count_pixels(Colour c) { return static_cast<int>(std::count(gfx_page(0)->pixels.begin(), gfx_page(0)->pixels.end(), c)); }

struct LineTest : ::testing::Test {
  void SetUp() override {
    fresh_round();
    clear_page(kBlack);
    clear_tables(rotation_trail);
  }
};

}  // namespace line_test
