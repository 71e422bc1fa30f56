// The line as balls sense it: its exact colours, and the killer line's glow beneath them. How it
// grows, shrinks and collapses shows in the recorded games.
#include "line/player_line.h"

#include <array>

#include "line/line_test_support.h"

namespace {

using namespace line_test;
using PlayerLine = LineTest;

void frames(int n) {
  for (int i = 0; i < n; ++i) update_player_line();
}

struct Span { int from, to; Colour colour; };  // signed distances from the pivot along the line
void expect_along_line(std::initializer_list<Span> spans) {
  for (const auto& [from, to, colour] : spans)
    for (int r = from; r <= to; ++r)
      EXPECT_EQ(gfx_point(nullptr, static_cast<float>(320 + r * round_state.angle_sin),
                          static_cast<float>(220 + r * round_state.angle_cos)), colour) << r;
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
