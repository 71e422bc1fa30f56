#pragma once
// The one global record of the round's state. Each group of fields belongs to the
// code named beside it; everything starts at zero.
#include <cstdint>

struct RoundState {
  // Frame loop (round/run_round.cpp) and its pacing.
  double frame_start;
  double fps_sample_start;
  std::int32_t fps_frames;
  std::int32_t fps;
  std::int32_t round_seconds;
  std::int32_t frame_cycle;  // 1..5
  std::int32_t angle_deg;
  double angle_rad;
  // Taken at the start of each frame and not after the turn: the line is drawn at the angle
  // the frame began with, while angle_rad already holds the new one.
  double angle_sin;
  double angle_cos;
  float trail_angle[4];  // [1..3]
  float speed_factor;
  std::int32_t rotate_step;
  std::int32_t rotate_dir;
  std::int32_t weapon;  // 1 cannon, 2 laser, 3 blasters
  std::int32_t laser_ammo;
  std::int32_t blasters_ammo;
  std::int32_t fire_cooldown;
  float energy;  // 0..100, shown as "Life"
  std::int32_t energy_regen_timer;
  std::int32_t short_line_timer;
  std::int32_t long_line_timer;
  std::int32_t killer_line_timer;
  std::int32_t double_gun_timer;
  std::int32_t no_hole_timer;
  std::int32_t sluggish_timer;
  std::int32_t homing_timer;
  std::int32_t background;  // 1..4
  std::int32_t bg_previous;
  std::int32_t bg_fading;
  std::int32_t bg_fade_alpha;
  std::int32_t enemy_alive;
  std::int32_t weapons_locked;
  std::int32_t game_over;
  std::int32_t phase;  // 0..8
  std::int32_t end_anim;
  std::int32_t fade_alpha;  // 0..255
  std::int32_t show_fps;

  // Player line (line/player_line.cpp).
  std::int32_t line_half_length;
  std::int32_t hole_half_width;
  std::int32_t killer_glow_width;
  std::int32_t glow_pulse;  // shared with the front end's pulse
  std::int32_t glow_pulse_dir;  // 1 rising, 2 falling

  // Scoring, phase script and waves (round/phase_script.cpp, enemies/).
  std::int32_t score;
  std::int32_t wave_closing;
  std::int32_t line_hit;
  std::int32_t ball_accuracy;  // 1 normal, 2 accurate
  std::int32_t ball_count;
  std::int32_t kamikaze_count;
  std::int32_t powerup_kills;
  std::int32_t powerup_kills_needed;
};

extern RoundState round_state;

// Back to the state of a program just started: the round state and every slot table empty
// (a playback that jumps back starts the game again in the same process).
void forget_round_state();

// A line the round shows over its first frames (a ranked round's server that could not be
// reached), counted down by the heads-up display.
extern char round_notice[64];
extern std::int32_t round_notice_frames;
