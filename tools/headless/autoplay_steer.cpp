// The autoplayer's choice within one frame of a round.
#include "headless/autoplay_steer.h"

#include <cmath>

#include "base/game_math.h"
#include "state/round_state.h"
#include "state/tables.h"

namespace {

constexpr double kPivotX = 320.0, kPivotY = 220.0;
constexpr double kShotSpeed = 4.8;   // cannon, px per frame
constexpr int kShotLife = 70;
constexpr int kHorizon = 42;         // frames looked ahead
// A ball senses the line with points up to 4 px out on its diagonals (5.7 px) and the body is
// 4 px thick, so a centre this close to the body's axis segment touches it.
constexpr double kBallReach = 7.8;
constexpr double kPowerupReach = 7.0;
constexpr double kTagReach = 6.5;    // the sprite (radius 7) covers a hole marker

struct SinCos {
  double s[360], c[360];
  SinCos() {
    for (int a = 0; a < 360; ++a) {
      const double rad = a * 3.14159 / 180.0;
      gmath::sincos(rad, &s[a], &c[a]);
    }
  }
};
const SinCos& table() {
  static const SinCos t;
  return t;
}

int wrap(int deg) { return ((deg % 360) + 360) % 360; }

// Energy a strike of this ball kind costs.
double strike_loss(int kind) {
  static constexpr double kLoss[6] = {0, 1.0, 2.0, 3.0, 3.3, 3.3};
  return kind >= 1 && kind <= 5 ? kLoss[kind] : 3.0;
}

struct Mover {
  double x, y, vx, vy;
};

// Distance from (along, perp) in line coordinates (along, perpendicular) to the body: the two arms
// from |along| = hole to |along| = length.
double body_distance(double along, double perp, double hole, double length) {
  const double a = std::fabs(along);
  double outside = 0.0;
  if (a < hole) outside = hole - a;
  if (a > length) outside = a - length;
  return std::sqrt(perp * perp + outside * outside);
}

// The angle_deg of the line at frame t (t >= 1) when it turns from `from` by `step` degrees a
// frame in direction dir for `steps` steps. The line is drawn with the angle of the frame's
// start, so the first turn shows one frame later.
int line_angle_at(int from, int dir, int step, int steps, int t) {
  int done = t - 1;
  if (done > steps) done = steps;
  return wrap(from + dir * step * done);
}

enum class Hit { None, Strike, Tag };

// First event of a straight mover against the turning line within the horizon.
Hit first_contact(const Mover& m, double reach, bool can_tag, int from, int dir, int step,
                  int steps, int* when) {
  const RoundState& rs = round_state;
  const SinCos& sc = table();
  const double hole = rs.hole_half_width, length = rs.line_half_length;
  bool tagged = !can_tag;
  Hit first = Hit::None;
  for (int t = 1; t <= kHorizon; ++t) {
    const double dx = m.x + m.vx * t - kPivotX, dy = m.y + m.vy * t - kPivotY;
    const int a = line_angle_at(from, dir, step, steps, t);
    const double along = dx * sc.s[a] + dy * sc.c[a];
    const double perp = dx * sc.c[a] - dy * sc.s[a];
    if (body_distance(along, perp, hole, length) < reach) {
      *when = t;
      return Hit::Strike;
    }
    if (!tagged && std::fabs(perp) < kTagReach && std::fabs(along) < 17.0) {
      tagged = true;
      if (first == Hit::None) {
        first = Hit::Tag;
        *when = t;
      }
    }
  }
  return first;
}

Mover ball_mover(const Ball& b) {
  double s, c;
  gmath::sincos(b.angle, &s, &c);
  return {b.x, b.y, s * b.speed, -c * b.speed};
}

Mover kamikaze_mover(const Kamikaze& k) {
  // Aim at the painted middle of the triangle, a little ahead of the base centre.
  double s, c;
  gmath::sincos(k.angle, &s, &c);
  return {k.x + 9.0 * s, k.y - 9.0 * c, s * k.speed, -c * k.speed};
}

// How far a shot fired along angle a after `delay` frames passes from a mover, and in how many
// frames of flight; false when the mover is behind the gun or out of the shot's reach.
bool shot_miss(const Mover& m, int a, int delay, double speed, int life, double* miss,
               double* flight) {
  const RoundState& rs = round_state;
  const SinCos& sc = table();
  const double ex = kPivotX + rs.line_half_length * sc.s[a];
  const double ey = kPivotY + rs.line_half_length * sc.c[a];
  double s = 0.0;
  double qx = m.x, qy = m.y;
  for (int i = 0; i < 3; ++i) {
    qx = m.x + m.vx * (delay + s);
    qy = m.y + m.vy * (delay + s);
    s = gmath::hypot(qx - ex, qy - ey) / speed;
  }
  const double along = (qx - ex) * sc.s[a] + (qy - ey) * sc.c[a];
  if (along < -2.0 || s > life) return false;
  *miss = std::fabs((qx - ex) * sc.c[a] - (qy - ey) * sc.s[a]);
  *flight = s;
  return true;
}

double powerup_value(int kind) {
  switch (kind) {
    case 3: return -30.0;  // killer line: strikes become kills
    case 6: return -22.0;  // laser ammunition
    case 4: return -16.0;  // blasters ammunition
    case 1: case 5: return -12.0;
    case 2: return -10.0;  // a shorter line is a smaller target
    case 7: return 5.0;    // long line
    case 8: return 6.0;    // no hole
    case 9: return 9.0;    // sluggish turning
    default: return 0.0;
  }
}

struct Target {
  Mover m;
  double value;
};

constexpr int kMaxTargets = kBallSlots + kKamikazeSlots;

}  // namespace

SteerChoice autoplay_steer() {
  const RoundState& rs = round_state;
  SteerChoice choice;
  const int now = wrap(rs.angle_deg);
  choice.target_angle = now;
  if (rs.energy <= 0.0f || rs.game_over || rs.phase >= 8) return choice;

  const bool killer = rs.killer_line_timer > 6;
  const bool can_fire = rs.weapons_locked == 0;
  const bool can_tag = rs.no_hole_timer == 0;

  // Everything that can reach the line soon, and everything worth shooting.
  Mover threats[kMaxTargets];
  double losses[kMaxTargets];
  bool taggable[kMaxTargets];
  int threat_count = 0;
  Target targets[kMaxTargets];
  int target_count = 0;
  int near_count = 0;
  bool kamikaze_wave = false;

  for (int i = 1; i <= rs.ball_count && i <= kBallSlots; ++i) {
    const Ball& b = balls[i];
    if (b.active != 1) continue;
    const Mover m = ball_mover(b);
    const double dist = gmath::hypot(b.x - kPivotX, b.y - kPivotY);
    if (dist < 160.0) ++near_count;
    if (dist < kHorizon * b.speed + rs.line_half_length + 12.0) {
      threats[threat_count] = m;
      losses[threat_count] = strike_loss(b.kind);
      taggable[threat_count] = can_tag && b.tagged == 0;
      ++threat_count;
    }
    if (b.x > 4 && b.x < 636 && b.y > 4 && b.y < 476) {
      // Nearer balls matter more; a tagged one pays its big bonus when shot.
      double value = 2.0 + 3.0 * (1.0 - dist / 400.0) + b.hp * 0.2;
      if (b.tagged) value += 4.0;
      targets[target_count++] = {m, value};
    }
  }
  for (int i = 1; i <= rs.kamikaze_count && i <= kKamikazeSlots; ++i) {
    const Kamikaze& k = kamikazes[i];
    if (k.active != 1) continue;
    kamikaze_wave = true;
    const double dist = gmath::hypot(k.x - kPivotX, k.y - kPivotY);
    if (dist < 200.0) ++near_count;
    // A kamikaze homes on the line's end, so turning cannot shake it off; but a line swept
    // into one close by is a strike that waiting would have turned into a shot.
    if (dist < kHorizon * k.speed + rs.line_half_length + 20.0) {
      double s, c;
      gmath::sincos(k.angle, &s, &c);
      threats[threat_count] = {k.x + 13.0 * s, k.y - 13.0 * c, s * k.speed, -c * k.speed};
      losses[threat_count] = k.kind == 2 ? 2.25 : 1.0;
      taggable[threat_count] = false;
      ++threat_count;
    }
    if (k.x > -5 && k.x < 645 && k.y > -5 && k.y < 485)
      targets[target_count++] = {kamikaze_mover(k), 10.0 + 8.0 * (1.0 - dist / 450.0)};
  }

  // Candidate headings: every angle the line reaches in whole steps either way round.
  const int step = rs.sluggish_timer > 0 ? 2 : 5;
  const int max_steps = 180 / step;
  const int stride = step == 2 ? 3 : 1;
  double best_cost = 1e300;
  int best_dir = 0, best_steps = 0;
  for (int dir = -1; dir <= 1; dir += 2) {
    for (int steps = 0; steps <= max_steps; steps += stride) {
      if (steps == 0 && dir == 1) continue;
      if (dir == 1 && steps == max_steps) continue;  // the same heading as the other way round
      const int heading = wrap(now + dir * step * steps);
      double cost = 0.02 * steps * step / 5.0;

      for (int i = 0; i < threat_count; ++i) {
        int when = 0;
        const Hit hit = first_contact(threats[i], kBallReach, taggable[i], now, dir, step, steps, &when);
        if (hit == Hit::Strike) {
          const double urgency = 1.0 + double(kHorizon - when) / kHorizon;
          cost += killer ? -3.0 : 10.0 * losses[i] * urgency;
        } else if (hit == Hit::Tag) {
          cost -= 2.0;
        }
      }
      for (int i = 1; i <= kPowerupSlots; ++i) {
        const Powerup& p = powerups[i];
        if (p.active != 1) continue;
        float s, c;
        gmath::sincos(p.angle, &s, &c);  // single precision, from the powerup's single angle
        const Mover m{p.x, p.y, s * p.speed, -c * p.speed};
        int when = 0;
        if (first_contact(m, kPowerupReach, false, now, dir, step, steps, &when) == Hit::Strike)
          cost += powerup_value(p.kind);
      }
      if (can_fire) {
        double aim = 0.0;
        for (int i = 0; i < target_count; ++i) {
          double miss = 0.0, flight = 0.0;
          if (!shot_miss(targets[i].m, heading, steps + 1, kShotSpeed, kShotLife, &miss, &flight))
            continue;
          if (miss < 4.0) aim += targets[i].value;
          else if (miss < 12.0) aim += targets[i].value * 0.3 * (12.0 - miss) / 8.0;
        }
        cost -= aim * (1.0 - 0.01 * steps);
      }
      if (cost < best_cost - 1e-9) {
        best_cost = cost;
        best_dir = dir;
        best_steps = steps;
      }
    }
  }
  choice.turn = best_steps == 0 ? 0 : (best_dir > 0 ? 1 : -1);
  choice.target_angle = wrap(now + best_dir * step * best_steps);
  if (!can_fire) return choice;

  // Fire along the current heading (the next frame's shot leaves at the frame-start angle).
  bool on_target = false, laser_target = false, blast_target = false;
  for (int i = 0; i < target_count; ++i) {
    double miss = 0.0, flight = 0.0;
    if (!shot_miss(targets[i].m, now, 1, kShotSpeed, kShotLife, &miss, &flight)) continue;
    if (miss < 9.0) on_target = true;
    if (miss < 6.0 && flight < 60.0) laser_target = true;
    // A blaster shot detonates within 30 px of anything and blasts 40 px around.
    double bmiss = 0.0, bflight = 0.0;
    if (shot_miss(targets[i].m, now, 1, 4.08, 120, &bmiss, &bflight) && bmiss < 16.0 &&
        targets[i].value >= 10.0)
      blast_target = true;
  }
  choice.fire = on_target;
  int want = 1;
  const bool dense = near_count >= 3 || kamikaze_wave;
  if (rs.laser_ammo > 0 && dense && laser_target) want = 2;
  else if (rs.blasters_ammo > 0 && (kamikaze_wave || near_count >= 4) && blast_target) want = 3;
  if (want != rs.weapon) choice.weapon_key = want;
  return choice;
}
