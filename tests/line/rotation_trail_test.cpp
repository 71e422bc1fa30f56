#include "line/line_test_support.h"
#include "line/player_line.h"

namespace {

using namespace line_test;
using RotationTrail = LineTest;

// One step of turning right to `deg` degrees, as the frame loop leaves it.
void turn_right_to(int deg) {
  round_state.angle_rad = deg * 3.14159 / 180;
  for (int k = 1; k <= 3; ++k) round_state.trail_angle[k] = static_cast<float>((deg + k) * 3.14159 / 180);
}

TEST_F(RotationTrail, EachTurnStepLeavesFourGhostsInTheFirstFreeSlotsOrDropsThem) {
  turn_right_to(85);
  spawn_rotation_trail();
  const double a = round_state.angle_rad;
  const float* t = round_state.trail_angle;
  const TrailGhost expected[] = {{16, a}, {14, t[1]}, {12, t[2]}, {10, t[3]}, {0, 0}};
  for (int i = 1; i <= 5; ++i) EXPECT_EQ(std::pair(rotation_trail[i].life, rotation_trail[i].angle),
                                         std::pair(expected[i - 1].life, expected[i - 1].angle)) << i;
  // Two free slots take the first two ghosts; the others are dropped, nothing is overwritten.
  std::ranges::fill(rotation_trail, TrailGhost{5, 0.25});
  rotation_trail[7].life = rotation_trail[60].life = 0;
  spawn_rotation_trail();
  EXPECT_EQ(std::pair(rotation_trail[7].life, rotation_trail[60].life), std::pair(16, 14));
  EXPECT_EQ(std::ranges::count_if(rotation_trail, [](const TrailGhost& g) { return g.life == 5 && g.angle == 0.25; }),
            kTrailSlots + 1 - 2);  // slot 0 is unused but filled here too
}

TEST_F(RotationTrail, GhostIsDrawn16TimesFading96To21WithTheCurrentLength) {
  rotation_trail[1] = TrailGhost{16, 90 * 3.14159 / 180};  // a fresh ghost on the line
  round_state.line_half_length = 75;                          // it grew after the ghost was left
  for (int frame = 1; frame <= 17; ++frame) {
    clear_page(kBlack);
    update_rotation_trail();
    const Colour ghost = frame == 17 ? kBlack : gfx_blend_primitive(kBlack, ((16u - frame) * 5 + 21) << 24 | 0x0569FFu);
    // Front at 74, its rear mirror, the hole edge; one pixel wide, nothing in the hole.
    for (int x : {394, 246, 340}) ASSERT_EQ(gfx_point(nullptr, x, 220), ghost) << frame << "," << x;
    ASSERT_EQ(count_pixels(kBlack), 640 * 480 - (frame == 17 ? 0 : 2 * 56)) << frame;
  }
}

}  // namespace
