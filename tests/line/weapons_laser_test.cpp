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

// Swaps in a glow sprite with nothing in it, so only the white core reaches the page.
struct NoGlow {
  Image* saved = ball_sprites[10];
  Image* empty = gfx_image_create(17, 17);
  NoGlow() { ball_sprites[10] = empty; }
  ~NoGlow() {
    ball_sprites[10] = saved;
    gfx_image_destroy(empty);
  }
};

}  // namespace

TEST(LaserBeam, FirstDrawnTheFrameAfterTheShotForSixFramesAndAmmoStopsAtZero) {
  fresh_round();
  set_line_angle(90);
  round_state.laser_ammo = 4;
  spawn_projectile(2, round_state.angle_rad, 1);
  int drawn = 0, first = 0;
  for (int frame = 1; frame <= 10; ++frame) {
    clear_page();
    update_laser_beams();  // beams go down before the shots are updated
    if (white_pixels_on_row(220) > 0) {
      ++drawn;
      if (first == 0) first = frame;
    }
    update_projectiles();
    if (frame == 1) {
      EXPECT_EQ(projectiles[1].active, 0);
      EXPECT_EQ(laser_beams[1].life, 6);
    }
  }
  EXPECT_EQ(first, 2);
  EXPECT_EQ(drawn, 6);
  EXPECT_EQ(round_state.laser_ammo, 0);
}

TEST(LaserBeam, TheCoreRunsFromFivePastTheEndTo350AndTheRearHalfOnlyUnderTheDoubleGun) {
  fresh_round();
  NoGlow no_glow;
  set_line_angle(90);
  spawn_laser_beam(9, 0.0f, 0.0f);
  update_laser_beams();
  // r from 60 to 350: x 380..670, clipped at 639.
  EXPECT_EQ(white_pixels_on_row(220), 639 - 380 + 1);
  EXPECT_NE(gfx_point(nullptr, 379, 220), 0xFFFFFFFFu);
  EXPECT_NE(gfx_point(nullptr, 320 - 100, 220), 0xFFFFFFFFu);

  fresh_round();
  set_line_angle(90);
  round_state.double_gun_timer = 10;
  spawn_laser_beam(9, 0.0f, 0.0f);
  update_laser_beams();
  EXPECT_EQ(gfx_point(nullptr, 320 - 100, 220), 0xFFFFFFFFu);
  EXPECT_EQ(white_pixels_on_row(220), 2 * (639 - 380 + 1) + 1);  // rear: x 260 down to 0
}

TEST(LaserBeam, TheGlowIsAddedAtStrength132FromTheSpriteCorner) {
  fresh_round();
  set_line_angle(90);
  Image* saved = ball_sprites[10];
  Image* glow = gfx_image_create(17, 17);
  glow->row(13)[0] = 0xFF404040u;  // lands 13 px before the core pixel of the same r
  ball_sprites[10] = glow;
  spawn_laser_beam(9, 0.0f, 0.0f);
  update_laser_beams();
  ball_sprites[10] = saved;
  gfx_image_destroy(glow);
  // Background 0x203040 plus floor(0x40 * 132 / 256) = 33 in each channel.
  for (int x = 367; x <= 379; ++x) EXPECT_EQ(gfx_point(nullptr, x, 220), 0xFF415161u) << x;
  EXPECT_EQ(gfx_point(nullptr, 366, 220), kBackground);
}

TEST(LaserBeam, AFullTableDropsTheBeamAndOtherKindsDrawNothing) {
  fresh_round();
  for (int i = 1; i <= kLaserBeamSlots; ++i) spawn_laser_beam(9, 1.0f, 2.0f);
  EXPECT_EQ(laser_beams[30].life, 6);
  laser_beams[30].kind = 3;
  spawn_laser_beam(9, 5.0f, 5.0f);
  EXPECT_EQ(laser_beams[30].x, 1.0f);
  for (int i = 1; i < kLaserBeamSlots; ++i) laser_beams[i].life = 0;
  round_state.laser_ammo = 10;
  update_laser_beams();
  EXPECT_EQ(laser_beams[30].life, 5);
  EXPECT_EQ(round_state.laser_ammo, 10);
  EXPECT_EQ(white_pixels_on_row(220), 0);
}
