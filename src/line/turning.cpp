// Turning the line: its angle each frame and the arrow keys' steps.
#include "line/line_controls.h"

#include "audio/audio.h"
#include "base/game_math.h"
#include "base/rounding.h"
#include "line/player_line.h"
#include "line/round_calls.h"
#include "state/round_state.h"
#include "system/input.h"

namespace {

// The line's angle uses five decimals of pi.
constexpr double kLinePi = 3.14159;

}  // namespace

void compute_line_angle() {
  RoundState& rs = round_state;
  rs.angle_rad = rs.angle_deg * kLinePi / 180.0;
  gmath::sincos(rs.angle_rad, &rs.angle_sin, &rs.angle_cos);
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
