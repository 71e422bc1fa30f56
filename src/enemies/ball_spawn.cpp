// Placing a ball just outside an edge, aimed roughly at the pivot.
#include <cmath>

#include "enemies/balls.h"
#include "frame/game_math.h"
#include "frame/random.h"
#include "frame/rounding.h"
#include "round/round_state.h"
#include "round/tables.h"

namespace {

struct Band {
  int x_width, x_offset, y_width, y_offset;
};

// [mode - 1][side - 1]; sides are left, right, top, bottom. Wave starts reach further out.
constexpr Band kBands[2][4] = {
    {{40, -80, 500, -20}, {40, 680, 500, -20}, {660, -20, 40, -80}, {660, -20, 40, 490}},
    {{80, -120, 510, -30}, {80, 680, 510, -30}, {670, -30, 80, -120}, {670, -30, 80, 490}},
};

// Multipliers of speed_factor; the product is kept in single precision.
constexpr double kSpeedMultiplier[6] = {0.0, 1.0, 1.3, 1.5, 1.5, 1.6};
constexpr int kHp[6] = {0, 1, 1, 2, 3, 4};

}  // namespace

float direction_to_pivot_deg(float x, float y) {
  // The game's own decimal constants, not full-precision pi.
  float a = static_cast<float>(gmath::atan2(static_cast<double>(y) - 220.0, static_cast<double>(x) - 320.0) -
                               1.5707965);
  if (a < 0.0f) a = static_cast<float>(a + 6.283186);
  return static_cast<float>(180.0 * a / 3.141593);
}

void spawn_ball(int slot, int mode) {
  RoundState& rs = round_state;
  Ball& b = balls[slot];
  b.active = 0;
  const int side = floor_int(rnd() * 4) + 1;
  const Band& band = kBands[mode == 2 ? 1 : 0][side - 1];
  b.x = static_cast<float>(floor_int(rnd() * band.x_width) + band.x_offset);
  b.y = static_cast<float>(floor_int(rnd() * band.y_width) + band.y_offset);
  float d = direction_to_pivot_deg(b.x, b.y);
  int s = 0;
  if (rs.ball_accuracy == 1) s = floor_int(rnd() * 70) - 34;
  else if (rs.ball_accuracy == 2) s = floor_int(rnd() * 32) - 15;
  d = d + static_cast<float>(s);
  if (d < 0.0f) d = d + 360.0f;
  if (d > 359.0f) d = d - 360.0f;
  if (rs.wave_closing == 0) b.active = 1;
  b.angle = 3.141593 * d / 180.0;
  b.tagged = 0;
  if (b.kind >= 1 && b.kind <= 5) {
    b.speed = static_cast<float>(kSpeedMultiplier[b.kind] * rs.speed_factor);
    b.hp = kHp[b.kind];
  }
}
