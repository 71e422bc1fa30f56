#pragma once
// The shared glow_pulse: two steps a frame, turning down once above `top` and up once below
// `bottom`, and held within 0..top. The front-end pages swing it between 150 and 255, the
// killer line between 1 and 100.
#include "state/round_state.h"

inline void step_pulse(int bottom, int top) {
  RoundState& rs = round_state;
  if (rs.glow_pulse_dir == 1) rs.glow_pulse += 2;
  if (rs.glow_pulse > top) rs.glow_pulse_dir = 2;
  if (rs.glow_pulse_dir == 2) rs.glow_pulse -= 2;
  if (rs.glow_pulse < bottom) rs.glow_pulse_dir = 1;
  if (rs.glow_pulse < 0) rs.glow_pulse = 0;
  if (rs.glow_pulse > top) rs.glow_pulse = top;
}
