#include "round/frame_steps.h"

#include <cmath>

#include "assets/images.h"
#include "audio/audio.h"
#include "frame/game_math.h"
#include "frame/input.h"
#include "frame/rounding.h"
#include "gfx/gfx.h"
#include "line/player_line.h"
#include "round/round_calls.h"
#include "round/round_state.h"

namespace {

// The line's angle uses five decimals of pi; the rear gun's offset uses six.
constexpr double kLinePi = 3.14159;
constexpr double kRearGunOffset = -3.141593;

bool fire_key_held() {
  return key_down(kKeySpace) || key_down(kKeyUp) || key_down(kKeyX);
}

}  // namespace

void compute_line_angle() {
  RoundState& rs = round_state;
  rs.angle_rad = rs.angle_deg * kLinePi / 180.0;
  gmath::sincos(rs.angle_rad, &rs.angle_sin, &rs.angle_cos);
}

void select_weapon() {
  RoundState& rs = round_state;
  // Tested in this order, so the last of several held keys wins.
  if (key_down(kKey1)) rs.weapon = 1;
  if (key_down(kKey2)) rs.weapon = 2;
  if (key_down(kKey3)) rs.weapon = 3;
  if (rs.weapon == 2 && rs.laser_ammo == 0) rs.weapon = 1;
  if (rs.weapon == 3 && rs.blasters_ammo == 0) rs.weapon = 1;
}

void fire_weapons() {
  RoundState& rs = round_state;
  if (rs.weapons_locked == 1) rs.fire_cooldown = 1;
  if (fire_key_held() && rs.fire_cooldown == 0) {
    if (rs.weapon == 1) rs.fire_cooldown = 7;
    if (rs.weapon == 2) rs.fire_cooldown = 3;
    if (rs.weapon == 3) rs.fire_cooldown = 12;
    if (rs.weapon == 1) {
      round_spawn_projectile(1, rs.angle_rad, 1);
      round_play_sound(snd_cannon);
      if (rs.double_gun_timer > 0) round_spawn_projectile(1, rs.angle_rad + kRearGunOffset, 2);
    } else if (rs.weapon == 2) {
      // The beam itself uses up the laser's ammunition.
      if (rs.laser_ammo > 0) round_spawn_projectile(2, rs.angle_rad, 1);
    } else if (rs.weapon == 3) {
      if (rs.blasters_ammo > 0) {
        // One unit pays for both shots of the double gun.
        rs.blasters_ammo -= 1;
        round_spawn_projectile(3, rs.angle_rad, 1);
        round_play_sound(snd_blasters);
        if (rs.double_gun_timer > 0) round_spawn_projectile(3, rs.angle_rad + kRearGunOffset, 2);
      }
    }
  }
  if (rs.fire_cooldown > 0) rs.fire_cooldown -= 1;
  if (rs.energy == 0.0f) rs.fire_cooldown = 1;
}

void regenerate_energy() {
  RoundState& rs = round_state;
  if (rs.energy_regen_timer > 0) {
    rs.energy += 1.0f;
    if (rs.energy > 100.0f) rs.energy = 100.0f;
    rs.energy_regen_timer -= 1;
  }
}

void turn_line() {
  RoundState& rs = round_state;
  rs.rotate_step = rs.sluggish_timer > 0 ? 2 : 4;
  if (!(rs.energy > 0.0f)) return;
  // The product is single precision (4.8000002 or 2.4000001), so a step is 5 or 2 degrees.
  const float step = static_cast<float>(rs.rotate_step) * rs.speed_factor;
  if (key_down(kKeyRight)) {
    if (rs.rotate_dir != 3) round_play_sound(snd_turn);
    rs.rotate_dir = 3;
    rs.angle_deg = round_even(static_cast<double>(rs.angle_deg) - static_cast<double>(step));
    if (rs.angle_deg < 0) rs.angle_deg += 360;
    rs.angle_rad = rs.angle_deg * kLinePi / 180.0;
    for (int k = 1; k <= 3; ++k)
      rs.trail_angle[k] = static_cast<float>((rs.angle_deg + k) * kLinePi / 180.0);
    spawn_rotation_trail();
  }
  if (key_down(kKeyLeft)) {
    if (rs.rotate_dir != 2) round_play_sound(snd_turn);
    rs.rotate_dir = 2;
    rs.angle_deg = round_even(static_cast<double>(rs.angle_deg) + static_cast<double>(step));
    if (rs.angle_deg > 359) rs.angle_deg -= 360;
    rs.angle_rad = rs.angle_deg * kLinePi / 180.0;
    for (int k = 1; k <= 3; ++k)
      rs.trail_angle[k] = static_cast<float>((rs.angle_deg - k) * kLinePi / 180.0);
    spawn_rotation_trail();
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

void draw_background() {
  RoundState& rs = round_state;
  if (rs.bg_fading == 0) {
    gfx_put(nullptr, 0, 0, background_images[rs.background], kPutCopy);
    return;
  }
  rs.bg_fade_alpha += 4;
  if (rs.bg_fade_alpha > 255) rs.bg_fade_alpha = 255;
  if (rs.bg_fade_alpha == 255) rs.bg_fading = 0;
  gfx_put(nullptr, 0, 0, background_images[rs.bg_previous], kPutBlend, 255 - rs.bg_fade_alpha);
  gfx_put(nullptr, 0, 0, background_images[rs.background], kPutBlend, rs.bg_fade_alpha);
}
