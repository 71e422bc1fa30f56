// Choosing a weapon and firing it.
#include "line/line_controls.h"

#include "audio/audio.h"
#include "line/round_calls.h"
#include "state/round_state.h"
#include "system/input.h"

namespace {

// The rear gun's offset uses six decimals of pi.
constexpr double kRearGunOffset = -3.141593;

bool fire_key_held() {
  return key_down(kKeySpace) || key_down(kKeyUp) || key_down(kKeyX);
}

}  // namespace

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
