// The hit pass of a shot against balls, and the homing and detonation it shares with kamikazes.
#include "enemies/hits.h"

#include <cmath>

#include "base/game_math.h"
#include "effects/particles.h"
#include "enemies/balls.h"
#include "enemies/kamikazes.h"
#include "state/heading.h"
#include "state/round_state.h"
#include "state/tables.h"

bool within_box(float ax, float ay, float bx, float by, float n) {
  return std::fabs(ax - bx) < n && std::fabs(ay - by) < n;
}

void home_toward(int p, float tx, float ty, bool target_active) {
  Projectile& s = projectiles[p];
  if (round_state.homing_timer <= 0 || s.weapon == 2) return;
  if (!target_active || s.active != 1 || !within_box(tx, ty, s.x, s.y, 60.0f)) return;
  // The bearing in the shots' own (sin, cos) convention, in degrees 0..360.
  float deg = static_cast<float>(
      180.0 * gmath::atan2(static_cast<double>(tx) - s.x, static_cast<double>(ty) - s.y) / 3.141593);
  if (deg < 0.0f) deg = deg + 360.0f;
  s.heading_deg = turn_heading_toward(s.heading_deg, deg, s.turn_step);
  s.angle = s.heading_deg * 3.141593 / 180.0;
}

void detonation_effects(float sx, float sy) {
  spawn_explosion(7, sx, sy);
  spawn_spark_burst(sx, sy, 11);
  for (int k = 8; k <= 11; ++k) spawn_explosion(k, sx, sy);
}

namespace {

// Returns false when the whole pass ends early (a target survived its damage).
bool ball_half(int p) {
  Projectile& s = projectiles[p];
  const float sx = s.x, sy = s.y;
  const int count = round_state.ball_count;
  for (int i = 1; i <= count; ++i) {
    Ball& b = balls[i];
    home_toward(p, b.x, b.y, b.active == 1);
    if (b.active == 1 && s.weapon == 3 && s.active == 1 && within_box(sx, sy, b.x, b.y, 30.0f)) {
      s.active = 0;
      detonation_effects(sx, sy);
      for (int j = 1; j <= count; ++j) {
        Ball& hit = balls[j];
        if (hit.active != 1 || !within_box(sx, sy, hit.x, hit.y, 40.0f)) continue;
        hit.hp -= 6;
        spawn_explosion(6, sx, sy);
        if (hit.hp > 0) return false;
        destroy_ball(j);
      }
    }
    if (b.active == 1 && s.weapon == 1 && s.active == 1 && within_box(sx, sy, b.x, b.y, 6.0f)) {
      b.hp -= 1;
      spawn_explosion(6, sx, sy);
      s.active = 0;
      if (b.hp > 0) return false;
      destroy_ball(i);
    }
  }
  return true;
}

}  // namespace

void check_projectile_hits(int p) {
  if (!ball_half(p)) return;
  check_projectile_hits_kamikazes(p);
}
