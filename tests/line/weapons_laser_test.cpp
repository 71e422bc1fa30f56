// Laser beams: one frame late, six frames long, along the line, costing ammunition.
#include <gtest/gtest.h>

#include "enemies/combat_fixture.h"
#include "line/weapons.h"

using namespace combat_test;

namespace {

int white_pixels_on_row(int y) {
  int n = 0;
  for (int x = 0; x < 640; ++x) n += gfx_point(nullptr, static_cast<float>(x), static_cast<float>(y)) == 0xFFFFFFFFu;
  return n;
}

}  // namespace

TEST(LaserBeam, FirstDrawnTheFrameAfterTheShotForSixFramesAndAmmoStopsAtZero) {
  fresh_round();
  round_state.laser_ammo = 4;
  spawn_projectile(2, round_state.angle_rad, 1);
  int drawn = 0, first = 0;
  for (int frame = 1; frame <= 10; ++frame) {
    clear_page();
    update_laser_beams();  // beams go down before the shots are updated
    if (white_pixels_on_row(220) > 0 && ++drawn == 1) first = frame;
    update_projectiles();
  }
  EXPECT_EQ(first, 2);
  EXPECT_EQ(drawn, 6);
  EXPECT_EQ(round_state.laser_ammo, 0);
}

TEST(LaserBeam, TheCoreRunsFromFivePastTheEndTo350AndBackwardsToUnderTheDoubleGun) {
  Image* saved = ball_sprites[10];
  for (int double_gun = 0; double_gun <= 1; ++double_gun) {
    fresh_round();
    ball_sprites[10] = gfx_image_create(17, 17);  // an empty glow: only the white core reaches the page
    round_state.double_gun_timer = 10 * double_gun;
    spawn_laser_beam(9, 0.0f, 0.0f);
    update_laser_beams();
    gfx_image_destroy(ball_sprites[10]);
    // r from 60 to 350 is x 380..670, clipped at 639; behind the pivot x 260 down to 0.
    EXPECT_EQ(white_pixels_on_row(220), 260 + double_gun * 261) << double_gun;
    EXPECT_NE(gfx_point(nullptr, 379, 220), 0xFFFFFFFFu);
    EXPECT_EQ(gfx_point(nullptr, 220, 220) == 0xFFFFFFFFu, double_gun == 1);
  }
  ball_sprites[10] = saved;
}
