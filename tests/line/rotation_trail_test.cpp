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
  // One step of turning right to `deg` degrees, as the frame loop leaves it.
  static void turn_right_to(int deg) {
    round_state.angle_deg = deg;
    round_state.angle_rad = deg * 3.14159 / 180;
    for (int k = 1; k <= 3; ++k) round_state.trail_angle[k] = static_cast<float>((deg + k) * 3.14159 / 180);
  }
};

TEST_F(RotationTrail, EachTurnStepLeavesFourGhostsInTheFirstFreeSlotsOrDropsThem) {
  turn_right_to(85);
  spawn_rotation_trail();
  const int lives[] = {16, 14, 12, 10, 0};
  for (int i = 1; i <= 5; ++i) EXPECT_EQ(rotation_trail[i].life, lives[i - 1]) << i;
  EXPECT_EQ(rotation_trail[1].angle, round_state.angle_rad);
  for (int k = 1; k <= 3; ++k)
    EXPECT_EQ(rotation_trail[k + 1].angle, static_cast<double>(round_state.trail_angle[k]));

  // Two free slots take the first two ghosts; the others are dropped, nothing is overwritten.
  for (int i = 1; i <= kTrailSlots; ++i) rotation_trail[i] = TrailGhost{5, 0.25};
  rotation_trail[7].life = 0;
  rotation_trail[60].life = 0;
  spawn_rotation_trail();
  EXPECT_EQ(rotation_trail[7].life, 16);
  EXPECT_EQ(rotation_trail[60].life, 14);
  int untouched = 0;
  for (int i = 1; i <= kTrailSlots; ++i)
    untouched += rotation_trail[i].life == 5 && rotation_trail[i].angle == 0.25;
  EXPECT_EQ(untouched, kTrailSlots - 2);
}

TEST_F(RotationTrail, GhostIsDrawn16TimesFading96To21WithTheCurrentLength) {
  turn_right_to(90);
  spawn_rotation_trail();
  for (int i = 2; i <= 4; ++i) rotation_trail[i].life = 0;  // keep only the ghost on the line
  round_state.line_half_length = 75;                         // it grew after the ghost was left
  for (int frame = 1; frame <= 17; ++frame) {
    fresh_page();
    update_rotation_trail();
    const std::uint32_t alpha = static_cast<std::uint32_t>((16 - frame) * 5 + 21);
    const Colour ghost =
        frame == 17 ? 0xFF000000u : gfx_blend_primitive(0xFF000000u, alpha << 24 | 0x0569FFu);
    // Front at 74, its rear mirror, the hole edge; one pixel wide, nothing in the hole.
    for (int x : {394, 246, 340}) ASSERT_EQ(gfx_point(nullptr, x, 220), ghost) << frame << "," << x;
    ASSERT_EQ(count_pixels(0xFF000000u), frame == 17 ? 640 * 480 : 640 * 480 - 2 * 56) << frame;
  }
}

}  // namespace
