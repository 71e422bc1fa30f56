// The heads-up display: score text, energy bar passes and colours, weapon labels, hourglass.
#include "round/hud.h"

#include "round_test_support.h"

using namespace round_test;

namespace {

class HudTest : public RoundTest {
 protected:
  static Image& page() { return *gfx_page(gfx_work_page_index()); }
  static Colour at(int x, int y) { return page().row(y)[x]; }
  // The bar's colour after n passes over black.
  static Colour passes(Colour c, int n) {
    Colour d = 0xFF000000;
    for (int i = 0; i < n; ++i) d = gfx_blend_primitive(d, c);
    return d;
  }
};

TEST_F(HudTest, ScoreIsPaddedToSixCharactersWithSignAfterTheZeros) {
  for (auto [score, text] : {std::pair{4000, "Score:004000"}, {-25, "Score:0000-25"},
                             {0, "Score:000000"}, {123456, "Score:123456"}}) {
    gfx_cls();
    round_state.score = score;
    draw_hud_texts();
    EXPECT_TRUE(text_matches(page(), 13, 466, text, 0xFF0275BE)) << text;
  }
  EXPECT_EQ(pad_score(-100000), "");
}

TEST_F(HudTest, WeaponLineShowsAmmoAndMarksTheSelectedWeapon) {
  gfx_cls();
  round_state.weapon = 3;
  round_state.laser_ammo = 25;
  round_state.blasters_ammo = -1;
  draw_hud_texts();
  EXPECT_TRUE(text_matches(page(), 250, 5, "Blasters:-1", 0xFF0275BE));
  // Labels not selected are translucent and blend over black.
  EXPECT_TRUE(text_matches(page(), 140, 5, "Laser:25", 0xC80275BE));
  EXPECT_TRUE(text_matches(page(), 12, 5, "Cannon: INF", 0xC80275BE));
  EXPECT_TRUE(text_matches(page(), 390, 5, "Life:", 0xFF1E7FC8));

  gfx_cls();
  round_state.weapons_locked = round_state.show_fps = 1;
  round_state.fps = 41;
  draw_hud_texts();
  EXPECT_TRUE(text_matches(page(), 92, 5, "W E A P O N S  L O C K E D", 0xF0EA2100));
  EXPECT_TRUE(text_matches(page(), 13, 456, "FPS:41", 0xFF0275BE));
}

TEST_F(HudTest, EnergyBarColourAndPassesFollowTheEnergy) {
  const struct {
    float energy;
    Colour colour;
    int passes, right;
  } cases[] = {{100.0f, 0xBE55FE02, 100, 630}, {20.0f, 0xFFC00000, 20, 470},
               {20.5f, 0xBEFE9B02, 20, 471},   {40.5f, 0xBEFEA802, 40, 511},
               {80.0f, 0xBEE9FE02, 80, 590},   {1.5f, 0xFFC00000, 2, 433},
               {0.5f, 0, 0, 0},                {0.4f, 0, 0, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.energy);
    gfx_cls();
    round_state.energy = c.energy;
    draw_energy_bar();
    EXPECT_EQ(at(429, 6), 0xFFFFFFFFu);  // the frame
    EXPECT_EQ(at(631, 11), 0xFFFFFFFFu);
    EXPECT_EQ(at(430, 8), passes(c.colour, c.passes));
    if (c.passes == 0) continue;
    EXPECT_EQ(energy_bar_colour, c.colour);
    EXPECT_EQ(at(c.right, 8), passes(c.colour, c.passes));
    EXPECT_EQ(at(c.right + 1, 8), c.right == 630 ? 0xFFFFFFFFu : 0xFF000000u);
  }
}

TEST_F(HudTest, HourglassSandRunsFromTheUpperToTheLowerBowl) {
  const auto sand_lines = [](int y_from, int y_to) {
    int n = 0;
    for (int y = y_from; y <= y_to; ++y) n += at(622, y) == 0xFFE08E00u;
    return n;
  };
  const struct {
    int seconds, upper, lower;
  } cases[] = {{0, 20, 0}, {50, 20, 0}, {51, 17, 2}, {470, 1, 18}, {471, 0, 20}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.seconds);
    gfx_cls();
    round_state.round_seconds = c.seconds;
    draw_hourglass();
    EXPECT_EQ(sand_lines(431, 450), c.upper);
    EXPECT_EQ(sand_lines(455, 474), c.lower);
    EXPECT_EQ(at(610, 475), 0xFFE7E7E7u);  // the glass
    if (c.seconds == 0) {  // the widest lines reach the glass walls
      EXPECT_EQ(at(611, 431), 0xFFE08E00u);
      EXPECT_EQ(at(634, 431), 0xFFE08E00u);
    }
  }
}

}  // namespace
