// The state every game begins in.
#include "state/reset_game.h"

#include "base/random.h"
#include "base/rounding.h"
#include "state/round_state.h"
#include "state/tables.h"
#include "system/input.h"

// ball_count, kamikaze_count, fade_alpha, glow_pulse and the frame-rate sample are left alone:
// the first wave sets the counts, and the others belong to the screens around the round.
void reset_game() {
  randomize(timer_seconds());
  for (int i = 1; i <= kParticleSlots; ++i) particles[i].life = 0;
  for (int i = 1; i <= kLaserBeamSlots; ++i) laser_beams[i].life = 0;
  for (int i = 1; i <= kSparkSlots; ++i) sparks[i].life = 0;
  for (int i = 1; i <= kBallSlots; ++i) {
    balls[i].active = 0;
    balls[i].tagged = 0;
  }
  for (int i = 1; i <= kKamikazeSlots; ++i) kamikazes[i].active = 0;
  for (int i = 1; i <= kPowerupSlots; ++i) powerups[i].active = 0;
  for (int i = 1; i <= kExplosionSlots; ++i) explosions[i].life = 0;
  for (int i = 1; i <= kProjectileSlots; ++i) projectiles[i].active = 0;
  for (int i = 1; i <= kMessageSlots; ++i) messages[i].active = 0;

  RoundState& rs = round_state;
  rs.powerup_kills_needed = 20 + floor_int(rnd() * 4);

  rs.score = 0;
  rs.energy = 100.0f;
  rs.weapon = 1;
  rs.laser_ammo = 0;
  rs.blasters_ammo = 0;
  rs.fire_cooldown = 0;
  rs.angle_deg = 90;
  rs.line_half_length = 55;
  rs.hole_half_width = 20;
  rs.short_line_timer = 0;
  rs.long_line_timer = 0;
  rs.killer_line_timer = 0;
  rs.double_gun_timer = 0;
  rs.no_hole_timer = 0;
  rs.sluggish_timer = 0;
  rs.homing_timer = 0;
  rs.powerup_kills = 0;
  rs.round_seconds = 0;
  rs.phase = 0;
  rs.wave_closing = 0;
  rs.enemy_alive = 0;
  rs.line_hit = 0;
  rs.weapons_locked = 0;
  rs.ball_accuracy = 1;
  rs.energy_regen_timer = 0;
  rs.background = 3;
  rs.bg_fading = 0;
  rs.game_over = 0;
  rs.end_anim = 0;
  rs.glow_pulse_dir = 1;
}
