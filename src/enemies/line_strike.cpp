// The price of an enemy striking the line.
#include "enemies/line_strike.h"

#include "audio/audio.h"
#include "state/round_state.h"

void charge_line_strike(int kind, double energy_adjustment) {
  RoundState& rs = round_state;
  rs.score -= 30;
  audio_play_sound(snd_line_hit);
  rs.line_hit = 1;
  rs.energy = rs.energy - static_cast<float>(kind);
  if (energy_adjustment != 0.0) rs.energy = static_cast<float>(rs.energy + energy_adjustment);
  if (rs.energy < 0.0f) rs.energy = 0.0f;
}
