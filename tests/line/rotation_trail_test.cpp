#include <gtest/gtest.h>

#include "line/line_test_support.h"
#include "line/player_line.h"

namespace {

using namespace line_test;

class RotationTrail : public ::testing::Test {
 protected:
  void SetUp() override {
    fresh_page();
    fresh_round();
  }
  // One step of turning right from `from` degrees, as the frame loop leaves it.
  static void turn_right_to(int deg) {
    round_state.angle_deg = deg;
    round_state.angle_rad = deg * 3.14159 / 180;
    for (int k = 1; k <= 3; ++k) round_state.trail_angle[k] = static_cast<float>((deg + k) * 3.14159 / 180);
  }
  static int live_ghosts() {
    int n = 0;
    for (int i = 1; i <= kTrailSlots; ++i) n += rotation_trail[i].life > 0;
    return n;
  }
};

TEST_F(RotationTrail, OneTurnStepSpawnsFourGhostsBehindTheLine) {
  turn_right_to(85);
  spawn_rotation_trail();
  EXPECT_EQ(live_ghosts(), 4);
  const int lives[] = {16, 14, 12, 10};
  for (int i = 1; i <= 4; ++i) EXPECT_EQ(rotation_trail[i].life, lives[i - 1]);
  EXPECT_EQ(rotation_trail[1].angle, round_state.angle_rad);
  for (int k = 1; k <= 3; ++k)
    EXPECT_EQ(rotation_trail[k + 1].angle, static_cast<double>(round_state.trail_angle[k]));
}

TEST_F(RotationTrail, FullTableDropsGhostsOneByOne) {
  for (int i = 1; i <= kTrailSlots; ++i) rotation_trail[i] = TrailGhost{5, 0.25};
  turn_right_to(40);
  spawn_rotation_trail();
  for (int i = 1; i <= kTrailSlots; ++i) {
    ASSERT_EQ(rotation_trail[i].life, 5);
    ASSERT_EQ(rotation_trail[i].angle, 0.25);
  }
  // Two free slots take the first two ghosts; the others are dropped.
  rotation_trail[7].life = 0;
  rotation_trail[60].life = 0;
  spawn_rotation_trail();
  EXPECT_EQ(rotation_trail[7].life, 16);
  EXPECT_EQ(rotation_trail[60].life, 14);
}

TEST_F(RotationTrail, GhostIsDrawn16TimesFading96To21WithTheCurrentLength) {
  turn_right_to(90);
  spawn_rotation_trail();
  for (int i = 2; i <= 4; ++i) rotation_trail[i].life = 0;  // keep only the ghost on the line
  round_state.line_half_length = 75;  // it grew after the ghost was left
  for (int frame = 1; frame <= 16; ++frame) {
    fresh_page();
    update_rotation_trail();
    const std::uint32_t alpha = static_cast<std::uint32_t>((16 - frame) * 5 + 21);
    const Colour expected = gfx_blend_primitive(0xFF000000u, alpha << 24 | 0x0569FFu);
    ASSERT_EQ(gfx_point(nullptr, 394, 220), expected) << frame;  // front, at 74
    ASSERT_EQ(gfx_point(nullptr, 246, 220), expected) << frame;  // rear mirror
    ASSERT_EQ(gfx_point(nullptr, 340, 220), expected) << frame;  // hole edge
    ASSERT_EQ(gfx_point(nullptr, 330, 220), 0xFF000000u) << frame;
    ASSERT_EQ(gfx_point(nullptr, 394, 221), 0xFF000000u) << frame;  // one pixel wide
  }
  EXPECT_EQ(rotation_trail[1].life, 0);
  fresh_page();
  update_rotation_trail();
  EXPECT_EQ(count_pixels(0xFF000000u), 640 * 480);
}

}  // namespace
