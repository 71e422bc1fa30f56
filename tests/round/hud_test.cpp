// The heads-up display: the score's padding and the energy bar's rounding, passes and colours.
#include "round/hud.h"

#include "round_test_support.h"

using namespace round_test;

namespace {

Colour at(int x, int y) { return gfx_page(gfx_work_page_index())->row(y)[x]; }

using HudTest = RoundTest;

TEST_F(HudTest, ScoreIsPaddedToSixCharactersWithSignAfterTheZeros) {
  for (auto [score, text] : {std::pair{4000, "Score:004000"}, {-25, "Score:0000-25"}, {0, "Score:000000"}}) {
    gfx_cls();
    round_state.score = score;
    draw_hud_texts();
    EXPECT_TRUE(text_matches(*gfx_page(gfx_work_page_index()), 13, 466, text, 0xFF0275BE)) << text;
  }
}

TEST_F(HudTest, EnergyBarColourAndPassesFollowTheEnergy) {
  const struct {
    float energy;
    Colour colour;
    int passes, right;
  } cases[] = {{20.0f, 0xFFC00000, 20, 470}, {20.5f, 0xBEFE9B02, 20, 471}, {1.5f, 0xFFC00000, 2, 433},
               {0.5f, 0, 0, 430}, {0.4f, 0, 0, 430}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.energy);
    gfx_cls();
    round_state.energy = c.energy;
    draw_energy_bar();
    Colour want = 0xFF000000;  // the bar's colour after its passes over black
    for (int i = 0; i < c.passes; ++i) want = gfx_blend_primitive(want, c.colour);
    EXPECT_EQ((std::array{at(430, 8), at(c.right, 8), at(c.right + 1, 8)}), (std::array{want, want, 0xFF000000u}));
  }
}

}  // namespace
