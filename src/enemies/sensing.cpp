#include "enemies/sensing.h"

#include "audio/audio.h"
#include "effects/powerups.h"
#include "frame/random.h"
#include "frame/rounding.h"
#include "round/round_state.h"

bool diagonals_touch_line(float x, float y) {
  auto is_line = [](Colour c) { return c == kLineBodyColour || c == kGunTipColour; };
  if (is_line(gfx_point(nullptr, x, y))) return true;
  for (int r = 1; r <= 4; ++r) {
    const float fr = static_cast<float>(r);
    if (is_line(gfx_point(nullptr, x - fr, y + fr)) || is_line(gfx_point(nullptr, x + fr, y - fr)) ||
        is_line(gfx_point(nullptr, x - fr, y - fr)) || is_line(gfx_point(nullptr, x + fr, y + fr)))
      return true;
  }
  return false;
}

void count_powerup_kill(float x, float y) {
  RoundState& rs = round_state;
  rs.powerup_kills += 1;
  if (rs.powerup_kills != rs.powerup_kills_needed) return;
  rs.powerup_kills_needed = floor_int(rnd() * 4) + 20;
  rs.powerup_kills = 0;
  spawn_powerup(x, y);
}

void charge_line_strike(int kind, double energy_adjustment) {
  RoundState& rs = round_state;
  rs.score -= 30;
  audio_play_sound(snd_line_hit);
  rs.line_hit = 1;
  rs.energy = rs.energy - static_cast<float>(kind);
  if (energy_adjustment != 0.0) rs.energy = static_cast<float>(rs.energy + energy_adjustment);
  if (rs.energy < 0.0f) rs.energy = 0.0f;
}
