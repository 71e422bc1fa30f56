#pragma once
// A page and a round set up for the combat tests: clean tables, the line's colours drawn by
// hand where a test needs them, and plain disc sprites standing in for the generated ones.
#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <type_traits>

#include <gtest/gtest.h>

#include "assets/images.h"
#include "base/random.h"
#include "gfx/gfx.h"
#include "state/round_state.h"
#include "state/tables.h"

namespace combat_test {

constexpr Colour kBackground = 0xFF203040u, kBody = 0xFFE7E7E7u, kTip = 0xFFC00000u;
constexpr double kPi6 = 3.141593;

inline void clear_page(Colour fill = kBackground) { std::fill(gfx_page(0)->pixels.begin(), gfx_page(0)->pixels.end(), fill); }

template <class... Tables>
void clear_tables(Tables&... t) {
  (std::fill(std::begin(t), std::end(t), std::remove_reference_t<decltype(t[0])>{}), ...);
}

// Every sprite a 17x17 disc of radius 7 centred on (8, 8), on the mask colour.
inline void make_sprites() {
  for (int i = 1; i <= 10; ++i)
    for (Image** slot : {&ball_sprites[i], &powerup_sprites[i]})
      if (!*slot) {
        *slot = gfx_image_create(17, 17);
        for (int y = 0; y < 17; ++y)
          for (int x = 0; x < 17; ++x)
            if ((x - 8) * (x - 8) + (y - 8) * (y - 8) <= 49) (*slot)->row(y)[x] = 0xFF3366CCu;
      }
}

inline void set_line_angle(int degrees) {
  round_state.angle_deg = degrees;
  round_state.angle_rad = degrees * 3.14159 / 180;
  round_state.angle_sin = std::sin(round_state.angle_rad);
  round_state.angle_cos = std::cos(round_state.angle_rad);
}

// A game in play: full energy, a line of 55 with its hole of 20, lying along +x (angle 90).
inline void fresh_round() {
  gfx_open_screen(640, 480, 32, 2, 64, 0);
  gfx_set_pages(0, 1);
  clear_page();
  make_sprites();
  clear_tables(projectiles, laser_beams, particles, sparks, explosions, messages, powerups, balls, kamikazes);
  round_state = RoundState{};
  round_state.frame_cycle = 1;
  round_state.speed_factor = 1.2f;
  round_state.energy = 100.0f;
  round_state.line_half_length = 55;
  round_state.hole_half_width = 20;
  round_state.ball_accuracy = 1;
  round_state.powerup_kills_needed = 20;
  set_line_angle(90);
  randomize(777);
}

// A filled box, the way the tests paint the line's colours into the page.
inline void box(float x1, float y1, float x2, float y2, Colour c) { gfx_line(nullptr, x1, y1, x2, y2, c, 2); }

// A ball, kamikaze or shot placed by hand (a ball resting unless given a speed), active.
inline Ball& place_ball(int slot, int kind, float x, float y, double angle_deg = 0.0, float speed = 0.0f) {
  round_state.ball_count = std::max(round_state.ball_count, slot);
  return balls[slot] = Ball{x, y, angle_deg * kPi6 / 180.0, speed, kind, std::max(1, kind - 1), 0, 1};
}

inline Kamikaze& place_kamikaze(int slot, int kind, float x, float y, int heading, int aim = 1) {
  round_state.kamikaze_count = std::max(round_state.kamikaze_count, slot);
  return kamikazes[slot] = Kamikaze{x, y, heading * kPi6 / 180.0, 0.0f, kind, kind, aim, kind, heading, 1};
}

inline Projectile& place_shot(int slot, int weapon, float x, float y, double angle = 0.0) {
  const int heading = static_cast<int>(std::lround(180.0 * angle / kPi6));
  return projectiles[slot] = Projectile{x, y, 70, angle, 4.8f, 1, weapon, 6, heading};
}

inline bool message_shown(const std::string& text) {
  return std::any_of(std::begin(messages), std::end(messages), [&](const FloatingMessage& m) { return m.active == 1 && text == m.text; });
}

inline bool powerup_at(int slot, float x, float y) {
  return powerups[slot].active == 1 && powerups[slot].x == x && powerups[slot].y == y;
}

// Values the generator will give after the seed, drawn from a fresh seeding.
inline void draws_after_seed(double seed, double* out, int n) {
  randomize(seed);
  for (int i = 0; i < n; ++i) out[i] = rnd();
  randomize(seed);
}

// A spawn band per side (left, right, top, bottom) as x = floor(r * xw) + xo, y = floor(r * yw) + yo;
// the first draw picks the side, the next two the place.
inline void expect_in_band(float x, float y, const int (*bands)[4], const double* v) {
  const int* band = bands[static_cast<int>(std::floor(v[0] * 4))];
  ASSERT_EQ(x, std::floor(v[1] * band[0]) + band[1]);
  ASSERT_EQ(y, std::floor(v[2] * band[2]) + band[3]);
}

}  // namespace combat_test
