// The real line and the real ball sprites together, in the frame's drawing order: the line, then the balls.
#include <gtest/gtest.h>

#include "assets/sprites.h"
#include "combat_fixture.h"
#include "enemies/balls.h"
#include "line/player_line.h"

using namespace combat_test;

TEST(CombatIntegration, TheRealLineTagsThroughItsHoleAndStrikesOnItsArms) {
  fresh_round();
  clear_sprite_ground();
  draw_ball_sprites();
  set_line_angle(90);
  place_ball(1, 2, 320.0f, 190.0f, 180.0, 1.56f);  // down through the hole
  place_ball(2, 1, 350.0f, 190.0f, 180.0, 1.2f);   // down onto the front arm
  for (int f = 0; f < 30; ++f) {
    clear_page();
    update_player_line();
    update_balls();
  }
  EXPECT_EQ(balls[1].tagged, 1);
  EXPECT_GT(balls[1].y, 220.0f);
  EXPECT_EQ((std::array{round_state.line_hit, round_state.score}), (std::array{1, 80 - 30}));
  EXPECT_EQ(round_state.energy, 99.0f);
}
