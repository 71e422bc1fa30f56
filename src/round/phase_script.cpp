// The round's timetable: phases, waves, messages, bonuses and backgrounds.
#include "round/phase_script.h"

#include <string_view>

#include "effects/messages.h"
#include "enemies/balls.h"
#include "enemies/kamikazes.h"
#include "state/round_state.h"
#include "state/tables.h"

namespace {

void pay_no_hit_bonus(std::string_view text, int bonus) {
  RoundState& rs = round_state;
  if (rs.line_hit == 0) {
    show_message(text);
    rs.score += bonus;
  }
  rs.line_hit = 0;
}

void cross_fade_to(int picture) {
  RoundState& rs = round_state;
  rs.bg_fading = 1;
  rs.bg_previous = rs.background;
  rs.background = picture;
  rs.bg_fade_alpha = 0;
}

struct KindRange {
  int last_slot;
  int kind;
};

template <int N>
void give_ball_kinds(const KindRange (&ranges)[N]) {
  int slot = 1;
  for (const KindRange& r : ranges)
    for (; slot <= r.last_slot; ++slot) balls[slot].kind = r.kind;
}

}  // namespace

void setup_wave(int wave) {
  RoundState& rs = round_state;
  switch (wave) {
    case 1:
      rs.ball_count = 10;
      give_ball_kinds({KindRange{8, 1}, {10, 2}});
      rs.kamikaze_count = 0;
      break;
    case 2:
      rs.ball_count = 20;
      give_ball_kinds({KindRange{9, 1}, {15, 2}, {20, 3}});
      break;
    case 3:
      rs.ball_count = 25;
      give_ball_kinds({KindRange{8, 1}, {16, 2}, {21, 3}, {25, 4}});
      break;
    case 4:
      rs.ball_count = 15;
      give_ball_kinds({KindRange{4, 2}, {6, 3}, {15, 4}});
      break;
    case 5:
      rs.ball_count = 28;
      give_ball_kinds({KindRange{12, 2}, {19, 3}, {24, 4}, {28, 5}});
      break;
    case 6:
      rs.ball_count = 0;
      rs.kamikaze_count = 8;
      for (int slot = 1; slot <= 8; ++slot) kamikazes[slot].kind = slot <= 5 ? 1 : 2;
      break;
    default:
      return;
  }
  for (int slot = 1; slot <= rs.ball_count; ++slot) spawn_ball(slot, 2);
  for (int slot = 1; slot <= rs.kamikaze_count; ++slot) spawn_kamikaze(slot);
}

void run_phase_script() {
  RoundState& rs = round_state;
  // The seconds that start or close a phase are caught with >=, not ==: the abort dialog can
  // hold the clock across such a second, and an exact test would then never fire.
  if (rs.phase == 0 && rs.round_seconds >= 2) {
    rs.phase = 1;
    show_message("Get Ready!");
  }
  if (rs.phase == 1 && rs.round_seconds >= 5) {
    rs.line_hit = 0;
    rs.phase = 2;
    show_message("Warm-up!");
    setup_wave(1);
  }
  if (rs.phase == 2 && rs.round_seconds >= 30) rs.wave_closing = 1;
  if (rs.phase == 2 && rs.round_seconds > 30 && rs.enemy_alive == 0) {
    rs.phase = 3;
    rs.wave_closing = 0;
    show_message("Let's Begin!");
    pay_no_hit_bonus("No hit! Super bonus! + 4000", 4000);
    setup_wave(2);
  }
  if (rs.phase == 3 && rs.round_seconds >= 125) rs.wave_closing = 1;
  if (rs.phase == 3 && rs.round_seconds > 125 && rs.enemy_alive == 0) {
    rs.phase = 4;
    rs.wave_closing = 0;
    rs.weapons_locked = 1;
    show_message("Warning!!! Weapons locked!");
    pay_no_hit_bonus("No hit! Super bonus! + 4000", 4000);
    setup_wave(3);
    cross_fade_to(1);
  }
  if (rs.phase == 4 && rs.round_seconds >= 200) rs.wave_closing = 1;
  if (rs.phase == 4 && rs.round_seconds > 200 && rs.enemy_alive == 0) {
    rs.phase = 5;
    rs.weapons_locked = 0;
    rs.wave_closing = 0;
    rs.ball_accuracy = 2;
    show_message("Accurate balls attack!");
    pay_no_hit_bonus("No hit! Super bonus! + 6000", 6000);
    show_message("Energy Awarded! + 60");
    rs.energy_regen_timer = 60;
    setup_wave(4);
  }
  if (rs.phase == 5 && rs.round_seconds >= 265) rs.wave_closing = 1;
  if (rs.phase == 5 && rs.round_seconds > 265 && rs.enemy_alive == 0) {
    rs.phase = 6;
    rs.ball_accuracy = 1;
    rs.wave_closing = 0;
    show_message("Here comes another tough wave!");
    pay_no_hit_bonus("No hit! Super bonus! + 5000", 5000);
    show_message("Energy Awarded! + 70");
    rs.energy_regen_timer = 70;
    setup_wave(5);
    cross_fade_to(2);
  }
  if (rs.phase == 6 && rs.round_seconds >= 380) rs.wave_closing = 1;
  if (rs.phase == 6 && rs.round_seconds > 380 && rs.enemy_alive == 0) {
    rs.phase = 7;
    rs.wave_closing = 0;
    show_message("Kamikaze Attack!");
    pay_no_hit_bonus("No hit! Super bonus! + 6000", 6000);
    show_message("Energy Awarded! + 80");
    rs.energy_regen_timer = 80;
    setup_wave(6);
    cross_fade_to(4);
  }
  if (rs.phase == 7 && rs.round_seconds >= 460) rs.wave_closing = 1;
  if (rs.phase == 7 && rs.round_seconds > 468 && rs.enemy_alive == 0) {
    rs.wave_closing = 1;
    rs.phase = 8;
    pay_no_hit_bonus("No hit! Super bonus! + 5000", 5000);
  }
}
