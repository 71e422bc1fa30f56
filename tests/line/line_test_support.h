#pragma once
// A fresh page and a fresh round for the line tests.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>

#include "frame/gfx.h"
#include "round/round_state.h"
#include "round/tables.h"

namespace line_test {

inline void fresh_page(Colour fill = 0xFF000000u) {
  gfx_open_screen(640, 480, 32, 2, 64, 0);
  gfx_set_pages(0, 1);
  Image* page = gfx_page(0);
  std::fill(page->pixels.begin(), page->pixels.end(), fill);
}

inline void set_line_angle(std::int32_t degrees) {
  round_state.angle_deg = degrees;
  round_state.angle_rad = degrees * 3.14159 / 180;
  round_state.angle_sin = std::sin(round_state.angle_rad);
  round_state.angle_cos = std::cos(round_state.angle_rad);
}

// A game in play: full energy, line 55 with its hole of 20, pointing along +x.
inline void fresh_round() {
  round_state = RoundState{};
  std::fill(std::begin(rotation_trail), std::end(rotation_trail), TrailGhost{});
  std::fill(std::begin(sparks), std::end(sparks), Spark{});
  std::fill(std::begin(explosions), std::end(explosions), Explosion{});
  std::fill(std::begin(particles), std::end(particles), Particle{});
  round_state.energy = 100.0f;
  round_state.line_half_length = 55;
  round_state.hole_half_width = 20;
  round_state.glow_pulse_dir = 1;
  set_line_angle(90);
}

inline int count_pixels(Colour c) {
  const Image* page = gfx_page(0);
  return static_cast<int>(std::count(page->pixels.begin(), page->pixels.end(), c));
}

}  // namespace line_test
