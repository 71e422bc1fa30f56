#include "line/player_line.h"

#include <array>

#include "line/line_test_support.h"

namespace {

using namespace line_test;
using PlayerLine = LineTest;

void frames(int n) {
  for (int i = 0; i < n; ++i) update_player_line();
}
std::array<int, 2> length_and_hole() { return {round_state.line_half_length, round_state.hole_half_width}; }

struct Span { int from, to; Colour colour; };  // signed distances from the pivot along the line
void expect_along_line(std::initializer_list<Span> spans) {
  for (const auto& [from, to, colour] : spans)
    for (int r = from; r <= to; ++r)
      EXPECT_EQ(gfx_point(nullptr, static_cast<float>(320 + r * round_state.angle_sin),
                          static_cast<float>(220 + r * round_state.angle_cos)), colour) << r;
}

TEST_F(PlayerLine, CollapseBurstsOnceInTheFrameTheLineReaches5) {
  round_state.energy = 0.0f;
  frames(49);
  EXPECT_EQ(length_and_hole()[0], 6);
  EXPECT_EQ(round_state.game_over + explosions[1].life + sparks[1].life, 0);
  frames(1);
  EXPECT_EQ(length_and_hole()[0], 5);
  EXPECT_EQ(round_state.game_over, 1);
  const float spark_x[] = {320, 317, 320, 319, 0, 0}, spark_y[] = {220, 220, 223, 220, 0, 0};
  for (int i = 1; i <= 6; ++i)  // four sparks and explosions of kinds 1 to 5 at the pivot
    EXPECT_EQ(std::tuple(sparks[i].x, sparks[i].y, sparks[i].life, explosions[i].kind, explosions[i].x),
              std::tuple(spark_x[i - 1], spark_y[i - 1], i <= 4 ? 10 : 0, i <= 5 ? i : 0, i <= 5 ? 320.0f : 0.0f)) << i;
  // Never again in the same game, and the stub is not drawn.
  clear_tables(sparks, explosions);
  clear_page(kBlack);
  frames(100);
  EXPECT_EQ(sparks[1].life + explosions[1].life, 0);
  EXPECT_EQ(count_pixels(kBlack), 640 * 480);
}

TEST_F(PlayerLine, BodyAndGunTipsInExactOpaqueColoursAndNoTipUpToLength8) {
  update_player_line();  // angle 90: along row 220, hole 20, length 55, 4 pixels thick
  expect_along_line({{-56, -56, kBlack}, {-55, -20, kBody}, {-19, 19, kBlack}, {20, 50, kBody}, {51, 55, kTip},
                     {56, 56, kBlack}});
  for (int y = 217; y <= 223; ++y) EXPECT_EQ(gfx_point(nullptr, 355, y), y == 217 || y == 223 ? kBlack : kBody) << y;

  clear_page(kBlack);
  round_state.double_gun_timer = 100;  // a tip at the rear too, the body shortened under it
  update_player_line();
  expect_along_line({{-56, -56, kBlack}, {-55, -51, kTip}, {-50, -20, kBody}, {51, 55, kTip}});

  clear_page(kBlack);
  round_state.double_gun_timer = 0;
  set_line_angle(200);  // nothing but the two opaque colours at any angle
  update_player_line();
  expect_along_line({{-53, -22, kBody}, {-17, 17, kBlack}, {22, 48, kBody}, {51, 54, kTip}});
  EXPECT_EQ(count_pixels(kBlack) + count_pixels(kBody) + count_pixels(kTip), 640 * 480);

  round_state.short_line_timer = 100;  // holds a short length where it is
  round_state.hole_half_width = 0;
  for (int length : {8, 9}) {
    clear_page(kBlack);
    round_state.line_half_length = length;
    update_player_line();
    EXPECT_EQ(count_pixels(kTip) > 0, length == 9) << length;
    EXPECT_GT(count_pixels(kBody), 0) << length;
  }
}

TEST_F(PlayerLine, KillerGlowWidensWithAClampedPulseUnderTheBodyAndNarrows) {
  round_state.killer_line_timer = 100;
  round_state.killer_glow_width = 7;  // 8 this frame
  round_state.glow_pulse = 200;       // the menu leaves it up to 255: clamped to 100, alpha 200
  update_player_line();
  const Colour glow = gfx_blend_primitive(kBlack, 200u << 24 | 0x00EA58u);
  // 4 into the hole and 4 pixels either side of the axis; the body covers it.
  expect_along_line({{-19, -16, glow}, {-15, 15, kBlack}, {16, 19, glow}, {20, 50, kBody}});
  EXPECT_EQ(std::pair(gfx_point(nullptr, 355, 224), gfx_point(nullptr, 355, 225)), std::pair(glow, kBlack));
  round_state.killer_line_timer = 8;
  frames(3);
  EXPECT_EQ(round_state.killer_glow_width, 5);
}

}  // namespace
