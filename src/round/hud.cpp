// The heads-up display.
#include "round/hud.h"

#include <cstdlib>

#include "base/rounding.h"
#include "base/text_buf.h"
#include "gfx/gfx.h"
#include "state/round_state.h"

std::uint32_t energy_bar_colour = 0;
std::int32_t weapon_label_alpha[4] = {};

namespace {
constexpr Colour kWhite = 0xFFFFFFFF;
constexpr Colour kHudBlue = 0xFF0275BE;
}  // namespace

void draw_energy_bar() {
  const RoundState& rs = round_state;
  gfx_line(nullptr, 429, 6, 631, 6, kWhite, kLineFilledBox);
  gfx_line(nullptr, 631, 6, 631, 11, kWhite, kLineFilledBox);
  gfx_line(nullptr, 429, 6, 429, 11, kWhite, kLineFilledBox);
  gfx_line(nullptr, 429, 11, 631, 11, kWhite, kLineFilledBox);

  const float e = rs.energy;
  if (e > 80.0f) energy_bar_colour = 0xBE55FE02;
  else if (e > 60.0f) energy_bar_colour = 0xBEE9FE02;
  else if (e > 40.0f) energy_bar_colour = 0xBEFEA802;
  else if (e > 20.0f) energy_bar_colour = 0xBEFE9B02;
  else energy_bar_colour = 0xFFC00000;

  // One pass per unit of energy: each pass blends the translucent bar again, so it comes out
  // nearly opaque.
  const float right = 430.0f + 2.0f * e;
  const int passes = round_even(e);
  for (int i = 0; i < passes; ++i) gfx_line(nullptr, 430, 7, right, 10, energy_bar_colour, kLineFilledBox);
}

std::string_view pad_score(int score) {
  const long long a = std::llabs(static_cast<long long>(score));
  std::string_view pad;
  if (a < 100000) pad = "0";
  if (a < 10000) pad = "00";
  if (a < 1000) pad = "000";
  if (a < 100) pad = "0000";
  if (a < 10) pad = "00000";
  return pad;
}

void draw_hud_texts() {
  const RoundState& rs = round_state;
  for (int i = 1; i <= 3; ++i) weapon_label_alpha[i] = 200;
  if (rs.weapon >= 1 && rs.weapon <= 3) weapon_label_alpha[rs.weapon] = 255;
  if (rs.weapons_locked == 0) {
    auto label_colour = [](int i) {
      return (static_cast<Colour>(weapon_label_alpha[i]) << 24) + 0x0275BEu;
    };
    gfx_draw_text(nullptr, 12, 5, "Cannon: INF", label_colour(1));
    TextBuf<32> laser;
    laser << "Laser:" << rs.laser_ammo;
    gfx_draw_text(nullptr, 140, 5, laser, label_colour(2));
    TextBuf<32> blasters;
    blasters << "Blasters:" << rs.blasters_ammo;
    gfx_draw_text(nullptr, 250, 5, blasters, label_colour(3));
  } else {
    gfx_draw_text(nullptr, 92, 5, "W E A P O N S  L O C K E D", 0xF0EA2100);
  }
  if (round_notice_frames > 0) {
    --round_notice_frames;
    gfx_draw_text(nullptr, 12, 440, round_notice, 0xFFFFD040u);
  }
  if (rs.show_fps == 1) {
    TextBuf<32> fps;
    fps << "FPS:" << rs.fps;
    gfx_draw_text(nullptr, 13, 456, fps, kHudBlue);
  }
  TextBuf<32> score;
  score << "Score:" << pad_score(rs.score) << rs.score;
  gfx_draw_text(nullptr, 13, 466, score, kHudBlue);
  gfx_draw_text(nullptr, 390, 5, "Life:", 0xFF1E7FC8);
}

namespace {

struct SandLine {
  std::int16_t y, x1, x2;
};
struct SandStep {
  std::int16_t seconds;  // lower bowl: drawn while s > seconds; upper bowl: while s < seconds
  SandLine lines[3];
  std::int8_t count;
};

constexpr SandStep kLowerBowl[] = {
    {50, {{474, 611, 634}, {473, 612, 633}}, 2},  {100, {{472, 613, 632}, {471, 613, 632}}, 2},
    {150, {{470, 614, 631}, {469, 614, 631}}, 2}, {200, {{468, 615, 630}, {467, 615, 630}}, 2},
    {250, {{466, 616, 629}, {465, 617, 628}}, 2}, {300, {{464, 617, 628}, {463, 618, 627}}, 2},
    {350, {{462, 618, 627}, {461, 619, 626}}, 2}, {400, {{460, 619, 626}, {459, 620, 625}}, 2},
    {450, {{458, 620, 625}, {457, 621, 624}}, 2}, {470, {{456, 622, 623}, {455, 622, 623}}, 2},
};

constexpr SandStep kUpperBowl[] = {
    {471, {{450, 622, 623}}, 1},
    {451, {{449, 622, 623}, {448, 621, 624}}, 2},
    {401, {{447, 620, 625}, {446, 620, 625}}, 2},
    {351, {{445, 619, 626}, {444, 619, 626}}, 2},
    {301, {{443, 618, 627}, {442, 618, 627}}, 2},
    {251, {{441, 617, 628}, {440, 617, 628}}, 2},
    {201, {{439, 616, 629}, {438, 615, 630}}, 2},
    {151, {{437, 615, 630}, {436, 614, 631}}, 2},
    {101, {{435, 614, 631}, {434, 613, 632}}, 2},
    {51, {{433, 613, 632}, {432, 612, 633}, {431, 611, 634}}, 3},
};

struct GlassLine {
  std::int16_t x1, y1, x2, y2;
};
constexpr GlassLine kGlass[] = {
    {610, 475, 635, 430}, {610, 430, 635, 475}, {607, 430, 638, 430}, {607, 427, 638, 427},
    {607, 475, 638, 475}, {607, 478, 638, 478}, {607, 478, 607, 475}, {638, 475, 638, 478},
    {607, 430, 607, 427}, {638, 430, 638, 427},
};

constexpr Colour kGlassColour = 0xFFE7E7E7;
constexpr Colour kSandColour = 0xFFE08E00;

void draw_sand(const SandStep& step) {
  for (int i = 0; i < step.count; ++i) {
    const SandLine& l = step.lines[i];
    gfx_line(nullptr, l.x1, l.y, l.x2, l.y, kSandColour, kLinePlain);
  }
}

}  // namespace

void draw_hourglass() {
  const int s = round_state.round_seconds;
  for (const GlassLine& g : kGlass) gfx_line(nullptr, g.x1, g.y1, g.x2, g.y2, kGlassColour, kLinePlain);
  for (const SandStep& step : kLowerBowl)
    if (s > step.seconds) draw_sand(step);
  for (const SandStep& step : kUpperBowl)
    if (s < step.seconds) draw_sand(step);
}
