// Laser beams: drawn along the line's current direction under the line itself, where balls and
// kamikazes find them by their exact colours.
#include "assets/images.h"
#include "audio/audio.h"
#include "gfx/gfx.h"
#include "line/weapons.h"
#include "state/round_state.h"
#include "state/tables.h"

namespace {

constexpr int kLaserGlowStrength = 132;

// The glow of every beam burning this frame, then the white core: all beams lie along the
// line's current direction, so each point's glow is put once for all of them. That leaves the
// same pixels as beam after beam, since additive puts saturate sums of what is never negative
// (any grouping comes out alike) and a white core pixel stays white under any glow.
void draw_beam_point(double r, int beams) {
  const RoundState& rs = round_state;
  gfx_put_additive(nullptr, static_cast<float>(r * rs.angle_sin + 307.0), static_cast<float>(r * rs.angle_cos + 207.0),
                   ball_sprites[10], kLaserGlowStrength, beams);
  gfx_pset(nullptr, static_cast<float>(320.0 + r * rs.angle_sin), static_cast<float>(220.0 + r * rs.angle_cos),
           0xFFFFFFFFu);
}

}  // namespace

void spawn_laser_beam(int kind, float x, float y) {
  for (int i = 1; i <= kLaserBeamSlots; ++i) {
    LaserBeam& b = laser_beams[i];
    if (b.life != 0) continue;
    b.x = x;
    b.y = y;
    b.life = 6;
    b.kind = kind;
    return;
  }
}

void update_laser_beams() {
  RoundState& rs = round_state;
  int burning = 0;
  for (int i = 1; i <= kLaserBeamSlots; ++i) {
    LaserBeam& b = laser_beams[i];
    if (b.life <= 0) continue;
    b.life -= 1;
    if (b.kind != 9) continue;
    // Every live beam costs ammunition each frame; beams already lit keep burning at 0.
    rs.laser_ammo -= 1;
    if (rs.laser_ammo < 0) rs.laser_ammo = 0;
    if (rs.frame_cycle == 5) audio_play_sound(snd_laser);
    ++burning;
  }
  if (burning == 0) return;
  for (int r = rs.line_half_length + 5; r <= 350; ++r) {
    draw_beam_point(r, burning);
    if (rs.double_gun_timer > 0) draw_beam_point(-r, burning);
  }
}
