#pragma once
// The combat round's page and tables, black and empty, with a zeroed round for the effects tests.
#include <gtest/gtest.h>

#include "enemies/combat_fixture.h"

namespace effects_test {
using namespace combat_test;

constexpr Colour kBlack = 0xFF000000u;

inline void fresh_page() { clear_page(kBlack); }
inline int count_non_black() {
  return static_cast<int>(std::count_if(gfx_page(0)->pixels.begin(), gfx_page(0)->pixels.end(), [](Colour c) { return c != kBlack; }));
}
// The colour a translucent primitive leaves on black.
inline Colour on_black(std::uint32_t alpha, Colour rgb) { return gfx_blend_primitive(kBlack, alpha << 24 | rgb); }
inline void clear_effects() {
  round_state = RoundState{};
  clear_tables(particles, sparks, explosions, messages);
}

struct EffectsTest : ::testing::Test {
  void SetUp() override {
    fresh_round();
    fresh_page();
    clear_effects();
  }
};

}  // namespace effects_test
