// The real line, the real beam and the real sprites together, in the frame's drawing order:
// beams, then the line, then the balls and kamikazes.
#include <gtest/gtest.h>

#include "assets/sprites.h"
#include "combat_fixture.h"
#include "effects/powerups.h"
#include "enemies/balls.h"
#include "enemies/kamikazes.h"
#include "line/player_line.h"
#include "line/weapons.h"

using namespace combat_test;

namespace {

void real_sprites() {
  clear_page();
  clear_sprite_ground();
  draw_ball_sprites();
  draw_powerup_sprites();
  clear_sprite_ground();
  draw_laser_glow_sprite();
}

void frame() {
  clear_page();
  update_laser_beams();
  update_player_line();
  update_balls();
  update_kamikazes();
  update_projectiles();
  update_powerups();
}

}  // namespace

TEST(CombatIntegration, TheBeamBurnsABallAndAKamikazeInItsPath) {
  fresh_round();
  real_sprites();
  set_line_angle(90);  // the beam runs right from x 380 along y 220
  place_ball(1, 3, 500.0f, 221.0f);
  place_kamikaze(1, 2, 440.0f, 240.0f, 0);  // heading up: its sensing points cross the beam
  round_state.laser_ammo = 10;
  spawn_laser_beam(9, 0.0f, 0.0f);
  frame();
  EXPECT_EQ(round_state.score, 95 + 80);
  EXPECT_EQ(round_state.powerup_kills, 2);
}

TEST(CombatIntegration, TheRealLineTagsThroughItsHoleAndStrikesOnItsArms) {
  fresh_round();
  real_sprites();
  set_line_angle(90);
  place_ball(1, 2, 320.0f, 190.0f, 180.0, 1.56f);  // down through the hole
  place_ball(2, 1, 350.0f, 190.0f, 180.0, 1.2f);   // down onto the front arm
  for (int f = 0; f < 30; ++f) frame();
  EXPECT_EQ(balls[1].tagged, 1);
  EXPECT_GT(balls[1].y, 220.0f);
  EXPECT_EQ(round_state.line_hit, 1);
  EXPECT_EQ(round_state.energy, 99.0f);
  EXPECT_EQ(round_state.score, 80 - 30);
}

TEST(CombatIntegration, APowerupFromTheLeftIsCollectedOnTheBodyNotTheKillerGlowOrTheHole) {
  fresh_round();
  real_sprites();
  set_line_angle(0);  // the line stands vertical; the powerup crosses its body at y 250
  round_state.killer_line_timer = 300;
  round_state.glow_pulse_dir = 1;
  powerups[1] = Powerup{10.0f, 250.0f, 1, static_cast<float>(90 * kPi6 / 180), 4, 2.16f};
  powerups[2] = Powerup{10.0f, 220.0f, 1, static_cast<float>(90 * kPi6 / 180), 6, 2.16f};  // the hole
  float last_x = 10.0f;
  for (int f = 0; f < 200 && powerups[1].active == 1; ++f) {
    last_x = powerups[1].x;
    frame();
  }
  EXPECT_EQ(round_state.blasters_ammo, 25);
  for (int f = 0; f < 20; ++f) frame();
  EXPECT_EQ(powerups[2].active, 1);
  EXPECT_GT(powerups[2].x, 340.0f);
  EXPECT_EQ(round_state.laser_ammo, 0);
  // Collected within the 4-pixel reach of the 4-pixel-thick body, not earlier on the glow.
  EXPECT_GT(last_x, 311.0f);
  EXPECT_LT(last_x, 322.0f);
}
