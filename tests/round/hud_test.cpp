// The heads-up display: score text, energy bar passes and colours, hourglass.
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

TEST_F(HudTest, HourglassSandRunsFromTheUpperToTheLowerBowl) {
  for (auto [seconds, upper, lower] : {std::array{0, 20, 0}, {50, 20, 0}, {51, 17, 2}, {471, 0, 20}}) {
    SCOPED_TRACE(seconds);
    gfx_cls();
    round_state.round_seconds = seconds;
    draw_hourglass();
    int sand[2] = {0, 0};  // lines of sand in the upper and the lower bowl
    for (int y = 431; y <= 474; ++y) sand[y >= 455] += (y <= 450 || y >= 455) && at(622, y) == 0xFFE08E00u;
    EXPECT_EQ((std::array{sand[0], sand[1]}), (std::array{upper, lower}));
  }
}

}  // namespace
