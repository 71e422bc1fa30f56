// The round's frame loop: the order in which everything moves and is drawn.
#include "round/run_round.h"

#include "assets/images.h"
#include "display/fades.h"
#include "display/frame_pacing.h"
#include "effects/messages.h"
#include "effects/particles.h"
#include "enemies/balls.h"
#include "enemies/kamikazes.h"
#include "gfx/gfx.h"
#include "line/line_controls.h"
#include "line/player_line.h"
#include "line/weapons.h"
#include "powerups/powerups.h"
#include "round/abort_dialog.h"
#include "round/background.h"
#include "round/end_banner.h"
#include "round/final_score.h"
#include "round/hud.h"
#include "round/phase_script.h"
#include "state/round_state.h"
#include "system/input.h"

namespace {

// Each update moves and draws its own objects, so this order is also the drawing order: the
// line and the beams must be on the page before the balls look for their colours.
void update_and_draw_entities() {
  update_rotation_trail();
  update_particles();
  update_laser_beams();
  update_player_line();
  update_balls();
  update_kamikazes();
  update_projectiles();
  update_explosions();
  update_sparks();
  update_powerups();
  update_messages();
  draw_hourglass();
}

// F toggles the frame-rate display; the game stands still until the key is let go, so one
// press toggles once.
void toggle_frame_rate() {
  RoundState& rs = round_state;
  if (key_down(kKeyF) && rs.show_fps == 0) {
    rs.show_fps = 1;
    while (key_down(kKeyF)) sleep_ms(1);
  }
  if (key_down(kKeyF) && rs.show_fps == 1) {
    rs.show_fps = 0;
    while (key_down(kKeyF)) sleep_ms(1);
  }
}

RoundEnd finish_round() {
  run_closing_fade();
  const RoundState& rs = round_state;
  if (rs.game_over == 1 || rs.phase == 8) {
    // Closing the window from here on first keeps the score.
    hold_close_requests(true);
    show_final_score();
    return RoundEnd::Scored;
  }
  return RoundEnd::Aborted;
}

}  // namespace

RoundEnd run_round() {
  RoundState& rs = round_state;
  (void)take_focus_lost();  // only a loss during the round counts
  for (;;) {
    advance_frame_cycle();
    begin_frame();
    sample_frame_rate();
    compute_line_angle();
    select_weapon();
    fire_weapons();
    regenerate_energy();
    turn_line();
    count_down_powerup_timers();
    draw_background();
    rs.enemy_alive = 0;
    update_and_draw_entities();
    draw_energy_bar();
    draw_end_banner();
    draw_hud_texts();
    fade_in();
    end_frame();
    toggle_frame_rate();

    // Losing the window's focus or a controller asks too: the question holds the round clock,
    // so time spent in another window or fetching a cable costs nothing.
    const bool focus_lost = take_focus_lost();
    if ((key_down(kKeyEscape) || focus_lost) && rs.game_over == 0) {
      // A resumed game goes straight on: the interrupted frame gets no pacing and no script.
      if (run_abort_dialog() == AbortAnswer::Resume) continue;
      return finish_round();
    }

    pace_frame();
    if (!key_down(kKeyLeft) && !key_down(kKeyRight)) rs.rotate_dir = 1;
    if (rs.end_anim > 1200) {
      gfx_get(nullptr, 0, 0, 639, 479, snapshot_image);
      return finish_round();
    }
    run_phase_script();
  }
}
