// The heads-up display: score text, energy bar passes and colours, weapon labels, hourglass.
#include "round/hud.h"

#include "round_test_support.h"

using namespace round_test;

namespace {

class HudTest : public RoundTest {
 protected:
  void SetUp() override {
    RoundTest::SetUp();
    gfx_cls();
  }
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
  const struct {
    int score;
    const char* text;
  } cases[] = {{4000, "Score:004000"}, {-25, "Score:0000-25"}, {0, "Score:000000"},
               {123456, "Score:123456"}, {100000, "Score:100000"}, {99999, "Score:099999"}};
  for (const auto& c : cases) {
    gfx_cls();
    round_state.score = c.score;
    draw_hud_texts();
    EXPECT_TRUE(text_matches(page(), 13, 466, c.text, 0xFF0275BE)) << c.text;
  }
  EXPECT_EQ(pad_score(-9), "00000");
  EXPECT_EQ(pad_score(-100000), "");
}

TEST_F(HudTest, WeaponLineShowsAmmoAndMarksTheSelectedWeapon) {
  round_state.weapon = 3;
  round_state.laser_ammo = 25;
  round_state.blasters_ammo = -1;
  draw_hud_texts();
  EXPECT_EQ(weapon_label_alpha[1], 200);
  EXPECT_EQ(weapon_label_alpha[3], 255);
  EXPECT_TRUE(text_matches(page(), 250, 5, "Blasters:-1", 0xFF0275BE));
  // Translucent labels blend over black, so compare with the blend of their colour.
  EXPECT_TRUE(text_matches(page(), 140, 5, "Laser:25", 0xC80275BE));
  EXPECT_TRUE(text_matches(page(), 12, 5, "Cannon: INF", 0xC80275BE));
  EXPECT_TRUE(text_matches(page(), 390, 5, "Life:", 0xFF1E7FC8));

  gfx_cls();
  round_state.weapons_locked = 1;
  round_state.show_fps = 1;
  round_state.fps = 41;
  draw_hud_texts();
  EXPECT_TRUE(text_matches(page(), 92, 5, "W E A P O N S  L O C K E D", 0xF0EA2100));
  EXPECT_TRUE(text_matches(page(), 13, 456, "FPS:41", 0xFF0275BE));
}

TEST_F(HudTest, EnergyBarColourAndPassesFollowTheEnergy) {
  round_state.energy = 100.0f;
  draw_energy_bar();
  EXPECT_EQ(at(429, 6), 0xFFFFFFFFu);
  EXPECT_EQ(at(631, 11), 0xFFFFFFFFu);
  EXPECT_EQ(at(430, 7), passes(0xBE55FE02, 100));
  EXPECT_EQ(at(630, 10), passes(0xBE55FE02, 100));
  EXPECT_EQ(at(631, 8), 0xFFFFFFFFu);
  EXPECT_EQ(at(500, 11), 0xFFFFFFFFu);

  const struct {
    float energy;
    Colour colour;
    int passes;
    int right;
  } cases[] = {{20.0f, 0xFFC00000, 20, 470},  {20.5f, 0xBEFE9B02, 20, 471},
               {40.5f, 0xBEFEA802, 40, 511},  {60.0f, 0xBEFEA802, 60, 550},
               {80.0f, 0xBEE9FE02, 80, 590},  {1.5f, 0xFFC00000, 2, 433}};
  for (const auto& c : cases) {
    gfx_cls();
    round_state.energy = c.energy;
    draw_energy_bar();
    EXPECT_EQ(energy_bar_colour, c.colour) << c.energy;
    EXPECT_EQ(at(430, 8), passes(c.colour, c.passes)) << c.energy;
    EXPECT_EQ(at(c.right, 8), passes(c.colour, c.passes)) << c.energy;
    EXPECT_EQ(at(c.right + 1, 8), 0xFF000000u) << c.energy;
  }

  for (float e : {0.4f, 0.5f}) {
    gfx_cls();
    round_state.energy = e;
    draw_energy_bar();
    EXPECT_EQ(at(430, 8), 0xFF000000u) << e;
  }
}

class HourglassTest : public HudTest {
 protected:
  static int sand_lines(int y_from, int y_to) {
    int n = 0;
    for (int y = y_from; y <= y_to; ++y) n += at(622, y) == 0xFFE08E00u;
    return n;
  }
};

TEST_F(HourglassTest, SandRunsFromTheUpperToTheLowerBowl) {
  const struct {
    int seconds, upper, lower;
  } cases[] = {{0, 20, 0}, {50, 20, 0}, {51, 17, 2}, {300, 9, 10}, {470, 1, 18}, {471, 0, 20}, {900, 0, 20}};
  for (const auto& c : cases) {
    gfx_cls();
    round_state.round_seconds = c.seconds;
    draw_hourglass();
    EXPECT_EQ(sand_lines(431, 450), c.upper) << c.seconds;
    EXPECT_EQ(sand_lines(455, 474), c.lower) << c.seconds;
    EXPECT_EQ(at(610, 475), 0xFFE7E7E7u);
    EXPECT_EQ(at(638, 427), 0xFFE7E7E7u);
  }
  // The widest lines reach the glass walls.
  gfx_cls();
  round_state.round_seconds = 0;
  draw_hourglass();
  EXPECT_EQ(at(611, 431), 0xFFE08E00u);
  EXPECT_EQ(at(634, 431), 0xFFE08E00u);
  EXPECT_EQ(at(612, 474), 0xFF000000u);
}

}  // namespace
