// Placing a ball just outside an edge, aimed roughly at the pivot.
#include <cmath>

#include "base/game_math.h"
#include "base/random.h"
#include "base/rounding.h"
#include "enemies/balls.h"
#include "state/heading.h"
#include "state/round_state.h"
#include "state/tables.h"

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
