// Kamikazes: triangles that steer onto an end of the line every frame.
#include "enemies/kamikazes.h"

#include <cmath>

#include "base/game_math.h"
#include "base/random.h"
#include "base/rounding.h"
#include "effects/particles.h"
#include "enemies/balls.h"
#include "enemies/line_strike.h"
#include "gfx/gfx.h"
#include "powerups/powerups.h"
#include "sensing/sensing.h"
#include "state/heading.h"
#include "state/round_state.h"
#include "state/tables.h"

namespace {

struct Band {
  int x_width, x_offset, y_width, y_offset;
};

// Sides left, right, top, bottom: a narrower band than the balls'.
constexpr Band kBands[4] = {{20, -40, 500, -20}, {20, 680, 500, -20}, {660, -20, 20, -30}, {660, -20, 20, 470}};

Colour outline_colour(int slot, int kind) {
  // Each slot has its own outline, so a flood fill stops only at its own triangle.
  if (kind == 1) return 0xFF000000u + static_cast<Colour>(170 + slot) * 65536u + static_cast<Colour>(170 + slot);
  return 0xFF000000u + static_cast<Colour>(61 + slot) * 65536u + static_cast<Colour>(172 + slot);
}

// The sensing point S lies on the axis 13 pixels ahead of the base centre.
struct Frame {
  double sx, sy, sn, cs;
};

Frame sensing_frame(const Kamikaze& k) {
  double sn, cs;
  gmath::sincos(k.angle, &sn, &cs);
  return {k.x + 13.0 * sn, k.y - 13.0 * cs, sn, cs};
}

// Each point to either side of S and ahead of it is read once and compared with both of the
// line's colours.
bool strikes_line(const Kamikaze& k) {
  const Frame f = sensing_frame(k);
  auto is_line = [](double x, double y) {
    const Colour c = gfx_point(nullptr, static_cast<float>(x), static_cast<float>(y));
    return c == kLineBodyColour || c == kGunTipColour;
  };
  for (int r = 1; r <= 10; ++r) {
    if (is_line(f.sx - r * f.cs, f.sy - r * f.sn) || is_line(f.sx + r * f.cs, f.sy + r * f.sn) ||
        is_line(f.sx + r * f.sn, f.sy - r * f.cs))
      return true;
  }
  return false;
}

bool laser_pixel(double x, double y) {
  const float fx = static_cast<float>(x), fy = static_cast<float>(y);
  // Off the page gfx_point reads white, a laser colour: near an edge that would burn a
  // kamikaze (and pay for it) with no beam anywhere.
  const int px = round_coord(fx), py = round_coord(fy);
  if (px < 0 || py < 0 || px >= kScreenWidth || py >= kScreenHeight) return false;
  return is_laser_colour(gfx_point(nullptr, fx, fy));
}

void strike_line(int slot) {
  RoundState& rs = round_state;
  Kamikaze& k = kamikazes[slot];
  const int kind = k.kind;
  const float x = k.x, y = k.y;
  if (rs.killer_line_timer == 0) {
    charge_line_strike(kind, kind == 2 ? -0.25 : 0.0);
  } else {
    count_powerup_kill(x, y);
    rs.score += kind * 25 + 50;
  }
  if (rs.score < 0) rs.score = 0;
  spawn_spark_burst(x, y, kind);
  for (int e = 1; e <= 5; ++e) spawn_explosion(e, x, y);
  spawn_kamikaze(slot);
}

// Returns false when a burn left the kamikaze alive (not drawn this frame).
// A burnt kamikaze respawns at an edge, outside the box, so nothing after a kill can burn.
bool laser_test(int slot) {
  Kamikaze& k = kamikazes[slot];
  if (!(k.x > 20.0f && k.x < 620.0f && k.y > 20.0f && k.y < 460.0f)) return true;
  const Frame f = sensing_frame(k);
  for (int r = 1; r <= 10; ++r) {
    for (int n = 0; n < 3; ++n) {
      double px, py;
      if (n == 0) px = f.sx + r * f.sn, py = f.sy - r * f.cs;
      else if (n == 1) px = f.sx - r * f.cs, py = f.sy - r * f.sn;
      else px = f.sx + r * f.cs, py = f.sy + r * f.sn;
      if (!laser_pixel(px, py)) continue;
      k.hp -= 6;
      spawn_explosion(6, k.x, k.y);
      if (k.hp > 0) return false;
      destroy_kamikaze(slot, k.kind * 15 + 50);
      return true;
    }
  }
  return true;
}

void draw_kamikaze(int slot) {
  const Kamikaze& k = kamikazes[slot];
  double sn, cs;
  gmath::sincos(k.angle, &sn, &cs);
  const float nx = static_cast<float>(k.x + 28.0 * sn), ny = static_cast<float>(k.y - 28.0 * cs);
  const float lx = static_cast<float>(k.x - 10.0 * cs), ly = static_cast<float>(k.y - 10.0 * sn);
  const float rx = static_cast<float>(k.x + 10.0 * cs), ry = static_cast<float>(k.y + 10.0 * sn);
  const Colour outline = outline_colour(slot, k.kind);
  gfx_line(nullptr, lx, ly, nx, ny, outline);
  gfx_line(nullptr, rx, ry, nx, ny, outline);
  gfx_line(nullptr, lx, ly, rx, ry, outline);
  gfx_paint(nullptr, static_cast<float>(k.x + 10.0 * sn), static_cast<float>(k.y - 10.0 * cs),
            k.kind == 1 ? kKamikazeFill1 : kKamikazeFill2, outline);
}

}  // namespace

void spawn_kamikaze(int slot) {
  RoundState& rs = round_state;
  Kamikaze& k = kamikazes[slot];
  k.active = 0;
  const int side = floor_int(rnd() * 4) + 1;
  const Band& band = kBands[side - 1];
  k.x = static_cast<float>(floor_int(rnd() * band.x_width) + band.x_offset);
  k.y = static_cast<float>(floor_int(rnd() * band.y_width) + band.y_offset);
  float d = direction_to_pivot_deg(k.x, k.y);
  d = d + static_cast<float>(floor_int(rnd() * 200) - 99);
  if (d < 0.0f) d = d + 360.0f;
  if (d > 359.0f) d = d - 360.0f;
  if (rs.wave_closing == 0) k.active = 1;
  k.angle = 3.141593 * d / 180.0;
  k.heading_deg = round_even(d);
  k.aim = floor_int(rnd() * 2) + 1;
  if (k.kind == 1) {
    k.speed = static_cast<float>(1.6 * rs.speed_factor);
    k.hp = 1;
    k.turn_step = 1;
  } else if (k.kind == 2) {
    k.speed = static_cast<float>(1.9 * rs.speed_factor);
    k.hp = 2;
    k.turn_step = 2;
  }
}

int kamikaze_bearing_deg(const Kamikaze& k) {
  const RoundState& rs = round_state;
  const double lh = rs.line_half_length;
  // Aim 2 flips only the vertical term: the rear end while the line is vertical, the front
  // end while it is horizontal.
  double sn, cs;
  gmath::sincos(rs.angle_rad, &sn, &cs);
  const double tx = 320.0 + lh * sn;
  const double ty = k.aim == 2 ? 220.0 - lh * cs : 220.0 + lh * cs;
  const float b = static_cast<float>(gmath::atan2(k.y - ty, tx - k.x));
  float h = static_cast<float>(1.5707965 - b);
  if (h < 0.0f) h = static_cast<float>(h + 6.283186);
  return round_even(180.0 * h / 3.141593);
}

void update_kamikazes() {
  RoundState& rs = round_state;
  const int count = rs.kamikaze_count;
  for (int i = 1; i <= count; ++i) {
    Kamikaze& k = kamikazes[i];
    if (k.active != 1) continue;
    rs.enemy_alive = 1;
    const int t = kamikaze_bearing_deg(k);
    if (rs.frame_cycle == 4) spawn_particle(k.kind + 9, k.x, k.y);
    k.heading_deg = turn_heading_toward(k.heading_deg, t, k.turn_step);
    k.angle = k.heading_deg * 3.141593 / 180.0;
    double sn, cs;
    gmath::sincos(k.angle, &sn, &cs);
    k.x = static_cast<float>(k.x + sn * k.speed);
    k.y = static_cast<float>(k.y - cs * k.speed);
    if (rs.energy > 0.0f && strikes_line(k)) {
      strike_line(i);
      continue;
    }
    if (!laser_test(i)) continue;
    draw_kamikaze(i);
  }
}

void destroy_kamikaze(int slot, int points) {
  Kamikaze& k = kamikazes[slot];
  const float x = k.x, y = k.y;
  count_powerup_kill(x, y);
  round_state.score += points;
  spawn_explosion(1, x, y);
  spawn_spark_burst(x, y, k.kind);
  for (int e = 2; e <= 5; ++e) spawn_explosion(e, x, y);
  spawn_kamikaze(slot);
}
