// Cannon and blaster shots in flight.
#include "line/weapons.h"

#include <cmath>

#include "base/game_math.h"
#include "base/rounding.h"
#include "effects/particles.h"
#include "enemies/hits.h"
#include "gfx/gfx.h"
#include "state/round_state.h"
#include "state/tables.h"

namespace {

constexpr double kPi = 3.141593;

// In 0..359 like the bearings the homing steps compare it with: a rear shot's negative angle
// would otherwise read -90 against a bearing of 270 and turn away from a target dead ahead.
std::int32_t heading_of(double angle) {
  const std::int32_t degrees = round_even(180.0 * angle / kPi) % 360;
  return degrees < 0 ? degrees + 360 : degrees;
}

void draw_projectile(const Projectile& s) {
  if (s.weapon == 3) {
    spawn_particle(9, s.x, s.y);
    gfx_circle(nullptr, s.x, s.y, 4.0f, 0x9100A8C6u);
    gfx_circle(nullptr, s.x, s.y, 3.0f, 0x910FDBFFu);
    return;
  }
  spawn_particle(1, s.x, s.y);
  double sn, cs;
  gmath::sincos(s.angle, &sn, &cs);
  // Each streak is drawn over the last, so it is orange at the shot and greys to its tip.
  gfx_line(nullptr, s.x, s.y, static_cast<float>(s.x + 3.0 * sn), static_cast<float>(s.y + 3.0 * cs),
           0xFFAFAFAFu);
  gfx_line(nullptr, s.x, s.y, static_cast<float>(s.x + 2.0 * sn), static_cast<float>(s.y + 2.0 * cs),
           0xFF808080u);
  gfx_line(nullptr, s.x, s.y, static_cast<float>(s.x + sn), static_cast<float>(s.y + cs), 0xFFF3C435u);
}

}  // namespace

void spawn_projectile(int weapon, double angle, int gun) {
  const RoundState& rs = round_state;
  for (int p = 1; p <= kProjectileSlots; ++p) {
    Projectile& s = projectiles[p];
    if (s.active != 0) continue;
    s.angle = angle;
    s.speed = static_cast<float>(4.0 * rs.speed_factor);
    s.weapon = weapon;
    s.active = 1;
    s.life = 70;
    s.turn_step = 6;
    if (weapon == 3) {
      s.speed = static_cast<float>(3.4 * rs.speed_factor);
      s.life = 120;
    }
    // Shots leave from the line's own ends, whatever direction they fly.
    const double reach = gun == 2 ? -rs.line_half_length : rs.line_half_length;
    double sn, cs;
    gmath::sincos(rs.angle_rad, &sn, &cs);
    s.x = static_cast<float>(320.0 + reach * sn);
    s.y = static_cast<float>(220.0 + reach * cs);
    s.heading_deg = heading_of(angle);
    return;
  }
}

void update_projectiles() {
  for (int p = 1; p <= kProjectileSlots; ++p) {
    Projectile& s = projectiles[p];
    if (s.active != 1) continue;
    if (s.weapon == 2) {
      // A laser shot lives for one update: it becomes the beam that the enemies sense.
      spawn_laser_beam(9, s.x, s.y);
      s.active = 0;
      continue;
    }
    s.life -= 1;
    if (s.life == 0) s.active = 0;
    if (s.x > 645.0f || s.x < -5.0f || s.y > 485.0f || s.y < -5.0f) s.active = 0;
    check_projectile_hits(p);
    double sn, cs;
    gmath::sincos(s.angle, &sn, &cs);
    s.x = static_cast<float>(s.x + sn * s.speed);
    s.y = static_cast<float>(s.y + cs * s.speed);
    // Drawn even when retired this frame, so a hit still shows the shot at the target.
    draw_projectile(s);
    s.heading_deg = heading_of(s.angle);
  }
}
