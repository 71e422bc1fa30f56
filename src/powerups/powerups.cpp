// Powerups: release, drift, pickup, effects and their timers.
#include "powerups/powerups.h"

#include <cmath>
#include <string_view>

#include "assets/images.h"
#include "audio/audio.h"
#include "base/game_math.h"
#include "base/random.h"
#include "base/rounding.h"
#include "effects/messages.h"
#include "gfx/gfx.h"
#include "sensing/sensing.h"
#include "state/heading.h"
#include "state/round_state.h"
#include "state/tables.h"

namespace {

// Kind from a draw r of 1..23: the helpful kinds 1..5 take three draws each, the rest two.
int kind_from_draw(int r) {
  constexpr int kLastDraw[10] = {0, 3, 6, 9, 12, 15, 17, 19, 21, 23};
  for (int kind = 1; kind <= 9; ++kind)
    if (r <= kLastDraw[kind]) return kind;
  return 9;
}

constexpr std::string_view kMessages[10] = {
    "",          "Double Gun!",         "Short Line!",      "Killer Line!",        "Blasters Ammo!",
    "Homing Projectiles!", "Laser Ammo!", "Long line!",   "Watch out! No hole!", "Sluggish!"};

void collect(int kind) {
  RoundState& rs = round_state;
  switch (kind) {
    case 1: rs.double_gun_timer = 800; break;
    case 2:
      rs.short_line_timer = 800;
      rs.long_line_timer = 0;
      break;
    case 3:
      // A second pickup restarts the glow from nothing.
      rs.killer_line_timer = 600;
      rs.killer_glow_width = 0;
      rs.glow_pulse_dir = 1;
      break;
    case 4: rs.blasters_ammo += 25; break;
    case 5: rs.homing_timer = 800; break;
    case 6: rs.laser_ammo += 500; break;
    case 7:
      rs.short_line_timer = 0;
      rs.long_line_timer = 800;
      break;
    case 8: rs.no_hole_timer = 800; break;
    case 9: rs.sluggish_timer = 800; break;
    default: return;
  }
  show_message(kMessages[kind]);
  audio_play_sound(kind <= 6 ? snd_powerup_good : snd_powerup_bad);
}

// Only the line's two opaque colours count: not the hole, not the translucent killer glow.
bool touches_line(const Powerup& u) { return diagonals_touch_line(u.x, u.y); }

}  // namespace

int powerup_kind_from_draw(int r) { return kind_from_draw(r); }

void count_powerup_kill(float x, float y) {
  RoundState& rs = round_state;
  rs.powerup_kills += 1;
  if (rs.powerup_kills != rs.powerup_kills_needed) return;
  rs.powerup_kills_needed = floor_int(rnd() * 4) + 20;
  rs.powerup_kills = 0;
  spawn_powerup(x, y);
}

void spawn_powerup(float x, float y) {
  const RoundState& rs = round_state;
  for (int i = 1; i <= kPowerupSlots; ++i) {
    Powerup& u = powerups[i];
    if (u.active != 0) continue;
    u.active = 1;
    u.x = x;
    u.y = y;
    u.kind = kind_from_draw(floor_int(rnd() * 23) + 1);
    u.speed = static_cast<float>(1.8 * rs.speed_factor);
    float d = direction_to_pivot_deg(x, y);
    d = d + static_cast<float>(floor_int(rnd() * 8) - 3);
    if (d < 0.0f) d = d + 360.0f;
    if (d > 359.0f) d = d - 360.0f;
    u.angle = static_cast<float>(d * 3.141593 / 180.0);
    return;
  }
}

void update_powerups() {
  for (int i = 1; i <= kPowerupSlots; ++i) {
    Powerup& u = powerups[i];
    if (u.active != 1) continue;
    // Leaving the box retires the powerup, but it still moves and senses in this frame.
    if (u.x > 690.0f || u.x < -50.0f) u.active = 0;
    if (u.y > 530.0f || u.y < -50.0f) u.active = 0;
    // The stored angle is single, but like every mover's, its sine is taken in double.
    const double a = u.angle;
    double sn, cs;
    gmath::sincos(a, &sn, &cs);
    u.x = static_cast<float>(u.x + sn * u.speed);
    u.y = static_cast<float>(u.y - cs * u.speed);
    if (touches_line(u)) {
      u.active = 0;
      collect(u.kind);
      continue;
    }
    gfx_put(nullptr, u.x - 8.0f, u.y - 8.0f, powerup_sprites[u.kind], kPutTransparent);
  }
}

void count_down_powerup_timers() {
  RoundState& rs = round_state;
  std::int32_t* timers[] = {&rs.short_line_timer, &rs.long_line_timer, &rs.killer_line_timer,
                            &rs.double_gun_timer, &rs.no_hole_timer,   &rs.sluggish_timer,
                            &rs.homing_timer};
  for (std::int32_t* t : timers)
    if (*t > 0) *t -= 1;
}
