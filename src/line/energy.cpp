// The line's energy coming back while a wave's regeneration timer runs.
#include "line/line_controls.h"

#include "state/round_state.h"

void regenerate_energy() {
  RoundState& rs = round_state;
  if (rs.energy_regen_timer > 0) {
    rs.energy += 1.0f;
    if (rs.energy > 100.0f) rs.energy = 100.0f;
    rs.energy_regen_timer -= 1;
  }
}
