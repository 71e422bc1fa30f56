// The player line: length and hole under the powerups, the collapse when the energy is gone,
// and the drawing that balls, kamikazes and powerups later sense by its exact colours.
#include "line/player_line.h"

#include "effects/particles.h"
#include "state/glow_pulse.h"
#include "state/round_state.h"

namespace {

struct LinePoint {
  float x, y;
};

// The point at signed distance r along the line: computed in double, drawn in single.
LinePoint point_along(double r) {
  const RoundState& s = round_state;
  return {static_cast<float>(kPivotX + r * s.angle_sin), static_cast<float>(kPivotY + r * s.angle_cos)};
}

void draw_piece(double from, double to, float thickness, int r, int g, int b, int a) {
  const LinePoint p = point_along(from);
  const LinePoint q = point_along(to);
  draw_thick_segment(p.x, p.y, q.x, q.y, thickness, r, g, b, a);
}

void draw_piece(double from, double to, std::uint32_t colour) {
  draw_piece(from, to, 4.0f, static_cast<int>(colour >> 16 & 0xFF), static_cast<int>(colour >> 8 & 0xFF),
             static_cast<int>(colour & 0xFF), static_cast<int>(colour >> 24));
}

// One pixel a frame towards the lengths the running powerups ask for.
void adjust_length_and_hole() {
  RoundState& s = round_state;
  if (s.short_line_timer == 0 && s.long_line_timer == 0) {
    if (s.line_half_length < 55) s.line_half_length += 1;
    if (s.line_half_length > 55) s.line_half_length -= 1;
  }
  // Both timers running cancel out.
  if (s.short_line_timer > 0 && s.line_half_length > 30) s.line_half_length -= 1;
  if (s.long_line_timer > 0 && s.line_half_length < 75) s.line_half_length += 1;
  if (s.no_hole_timer > 0 && s.hole_half_width > 0) s.hole_half_width -= 1;
  if (s.no_hole_timer == 0 && s.hole_half_width < 20) s.hole_half_width += 1;
}

// With the energy gone the line shrinks to a stub and bursts once.
void collapse() {
  RoundState& s = round_state;
  if (s.line_half_length > 5) s.line_half_length -= 1;
  if (s.hole_half_width > 0) s.hole_half_width -= 1;
  if (s.game_over == 0 && s.line_half_length == 5) {
    spawn_spark_burst(320.0f, 220.0f, 1);
    for (int kind = 1; kind <= 5; ++kind) spawn_explosion(kind, 320.0f, 220.0f);
    s.game_over = 1;
  }
}

// The Killer Line glow: widens when collected, narrows in its last frames, and pulses.
void draw_killer_glow(int hole, int length) {
  RoundState& s = round_state;
  if (s.killer_line_timer > 8 && s.killer_glow_width < 8) s.killer_glow_width += 1;
  if (s.killer_line_timer < 9 && s.killer_glow_width > 1) s.killer_glow_width -= 1;

  step_pulse(1, 100);

  const float width = static_cast<float>(s.killer_glow_width);
  const int alpha = s.glow_pulse + 100;
  draw_piece(hole - 4, length + 4, width, 0, 234, 88, alpha);
  draw_piece(-(hole - 4), -(length + 4), width, 0, 234, 88, alpha);
}

}  // namespace

void update_player_line() {
  RoundState& s = round_state;
  if (s.energy > 0.0f) adjust_length_and_hole();
  if (s.energy == 0.0f) collapse();

  const int length = s.line_half_length;
  const int hole = s.hole_half_width;
  if (length <= 5) return;

  if (s.killer_line_timer > 0) draw_killer_glow(hole, length);
  if (length > 8) draw_piece(length - 6, length, kGunTipColour);
  // The body overlaps the tip by one pixel and is drawn over it.
  draw_piece(hole, length - 5, kLineBodyColour);
  if (s.double_gun_timer == 0) {
    draw_piece(-hole, -length, kLineBodyColour);  // the rear end has no gun
  } else {
    if (length > 8) draw_piece(-(length - 6), -length, kGunTipColour);
    draw_piece(-hole, -(length - 5), kLineBodyColour);
  }
}
