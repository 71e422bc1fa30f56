// The per-frame flight of the balls: move, sense the line, the laser and the hole, draw.
#include "enemies/balls.h"

#include <cmath>

#include "assets/images.h"
#include "audio/audio.h"
#include "base/game_math.h"
#include "base/text_buf.h"
#include "effects/messages.h"
#include "effects/particles.h"
#include "gfx/gfx.h"
#include "sensing/sensing.h"
#include "state/round_state.h"
#include "state/tables.h"

namespace {

struct Offset {
  int dx, dy;
};

constexpr Offset kLaserOffsets[17] = {{3, 3},   {-3, 3}, {-3, -3}, {3, -3},  {2, 2},   {2, -2},
                                      {-2, -2}, {-2, 2}, {4, 4},   {4, -4},  {-4, -4}, {-4, 4},
                                      {1, 1},   {1, -1}, {-1, -1}, {-1, 1},  {0, 0}};

// Returns false when a burn left the ball alive: then it is neither drawn nor tested further.
bool laser_test(int slot) {
  Ball& b = balls[slot];
  // The box keeps every sensing point on the page, where off-page reads would look white. A
  // destroyed ball respawns outside it, so the box also ends the test after a kill.
  for (const Offset& o : kLaserOffsets) {
    if (!(b.x > 8.0f && b.x < 632.0f && b.y > 8.0f && b.y < 471.0f)) return true;
    const float px = b.x + static_cast<float>(o.dx), py = b.y + static_cast<float>(o.dy);
    if (!is_laser_colour(gfx_point(nullptr, px, py))) continue;
    b.hp -= 6;
    spawn_explosion(6, px, py);
    if (b.hp > 0) return false;
    destroy_ball(slot);
  }
  return true;
}

void tag_test(Ball& b, const float hole[3][2]) {
  RoundState& rs = round_state;
  for (int k = 0; k < 3; ++k) {
    if (!(rs.energy > 0.0f && b.tagged == 0 && rs.no_hole_timer == 0)) continue;
    // The marker under a freshly drawn sprite is gone: the ball is crossing the hole.
    if (gfx_point(nullptr, hole[k][0], hole[k][1]) == kMarkerBlack) continue;
    const int points = b.kind * 15 + 50;
    b.tagged = 1;
    audio_play_sound(snd_tag);
    b.hp = 1;
    TextBuf<40> text;
    text << "Ball Tagged! + " << points << " Pts";
    show_message(text);
    rs.score += points;
  }
}

}  // namespace

void update_balls() {
  RoundState& rs = round_state;
  // P1, P2 and P0 on the line's axis: the order the tag test reads them.
  const float hole[3][2] = {
      {static_cast<float>(320.0 + 10.0 * rs.angle_sin), static_cast<float>(220.0 + 10.0 * rs.angle_cos)},
      {static_cast<float>(320.0 - 10.0 * rs.angle_sin), static_cast<float>(220.0 - 10.0 * rs.angle_cos)},
      {320.0f, 220.0f},
  };
  const int count = rs.ball_count;
  for (int i = 1; i <= count; ++i) {
    Ball& b = balls[i];
    if (b.active != 1) continue;
    rs.enemy_alive = 1;
    double sn, cs;
    gmath::sincos(b.angle, &sn, &cs);
    b.x = static_cast<float>(b.x + sn * b.speed);
    b.y = static_cast<float>(b.y - cs * b.speed);
    if (rs.energy > 0.0f && diagonals_touch_line(b.x, b.y)) {
      ball_strikes_line(i);
      continue;
    }
    if (b.x > 690.0f || b.x < -50.0f) spawn_ball(i, 1);
    if (b.y > 530.0f || b.y < -50.0f) spawn_ball(i, 1);
    if (rs.frame_cycle == 4) spawn_particle(b.tagged == 1 ? 7 : b.kind + 1, b.x, b.y);
    if (rs.no_hole_timer == 0 && rs.energy > 0.0f) {
      // Plotted again for every ball, so each tag test sees only its own sprite.
      gfx_pset(nullptr, hole[2][0], hole[2][1], kMarkerBlack);
      gfx_pset(nullptr, hole[0][0], hole[0][1], kMarkerBlack);
      gfx_pset(nullptr, hole[1][0], hole[1][1], kMarkerBlack);
    }
    if (!laser_test(i)) continue;
    gfx_put(nullptr, b.x - 8.0f, b.y - 8.0f, ball_sprites[b.tagged == 1 ? 7 : b.kind], kPutTransparent);
    tag_test(b, hole);
  }
}
