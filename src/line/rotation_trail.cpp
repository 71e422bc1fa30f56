// The fading ghost lines that trail behind the line while it turns.
#include <cmath>

#include "base/game_math.h"
#include "gfx/gfx.h"
#include "line/player_line.h"
#include "state/round_state.h"
#include "state/tables.h"

namespace {

constexpr Colour kGhostRgb = 0x0569FF;

// Each ghost scans for its own slot, so a nearly full table still takes the first ones.
void spawn_ghost(std::int32_t life, double angle) {
  for (int i = 1; i <= kTrailSlots; ++i) {
    if (rotation_trail[i].life == 0) {
      rotation_trail[i].life = life;
      rotation_trail[i].angle = angle;
      return;
    }
  }
}

}  // namespace

void spawn_rotation_trail() {
  const RoundState& s = round_state;
  spawn_ghost(16, s.angle_rad);
  spawn_ghost(14, static_cast<double>(s.trail_angle[1]));
  spawn_ghost(12, static_cast<double>(s.trail_angle[2]));
  spawn_ghost(10, static_cast<double>(s.trail_angle[3]));
}

void update_rotation_trail() {
  const RoundState& s = round_state;
  // Ghosts follow the line's current length and hole, not those of the moment they were left.
  const double hole = s.hole_half_width;
  const double length = s.line_half_length;
  for (int i = 1; i <= kTrailSlots; ++i) {
    TrailGhost& g = rotation_trail[i];
    if (g.life <= 0) continue;
    g.life -= 1;
    double sn, cs;
    gmath::sincos(g.angle, &sn, &cs);
    const Colour colour = static_cast<Colour>(g.life * 5 + 21) << 24 | kGhostRgb;
    gfx_line(nullptr, static_cast<float>(kPivotX + hole * sn), static_cast<float>(kPivotY + hole * cs),
             static_cast<float>(kPivotX + length * sn), static_cast<float>(kPivotY + length * cs), colour,
             kLinePlain);
    gfx_line(nullptr, static_cast<float>(kPivotX - hole * sn), static_cast<float>(kPivotY - hole * cs),
             static_cast<float>(kPivotX - length * sn), static_cast<float>(kPivotY - length * cs), colour,
             kLinePlain);
  }
}
