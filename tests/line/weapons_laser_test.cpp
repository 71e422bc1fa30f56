// The laser beam's white core, which balls and kamikazes sense: where it runs along the line.
#include <gtest/gtest.h>

#include <utility>

#include "enemies/combat_fixture.h"
#include "line/weapons.h"

using namespace combat_test;

static int white_on_row_220(int x0, int x1) {
  const Colour* row = gfx_page(0)->row(220);
  return static_cast<int>(std::count(row + x0, row + x1, 0xFFFFFFFFu));
}

TEST(LaserBeam, TheCoreRunsFromFivePastTheEndTo350AndBackwardsToUnderTheDoubleGun) {
  for (int double_gun = 0; double_gun <= 1; ++double_gun) {
    fresh_round();
    // An empty glow, so only the white core reaches the page.
    Image* glow = std::exchange(ball_sprites[10], gfx_image_create(17, 17));
    round_state.double_gun_timer = 10 * double_gun;
    spawn_laser_beam(9, 0.0f, 0.0f);
    update_laser_beams();
    gfx_image_destroy(std::exchange(ball_sprites[10], glow));
    // r from 60 to 350 is x 380..670, clipped at 639; behind the pivot x 260 down to 0.
    EXPECT_EQ((std::array{white_on_row_220(0, 380), white_on_row_220(380, 640)}), (std::array{261 * double_gun, 260}));
  }
}
