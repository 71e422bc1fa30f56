#include "frontend/main_menu.h"

#include "assets/images.h"
#include "frame/i_platform.h"
#include "frame/input.h"
#include "frontend/fades.h"
#include "frontend/high_scores.h"
#include "frontend/instructions.h"
#include "frontend/item_list.h"
#include "frontend/logo.h"
#include "frontend/options.h"
#include "gfx/gfx.h"
#include "round/frame_pacing.h"
#include "round/reset_game.h"
#include "round/round_state.h"

namespace {

constexpr int kMenuItems = 5;
constexpr const char* kMenuLabels[kMenuItems + 1] = {
    "", "Start New Game", "Options", "Instructions", "High Scores", "Exit"};

void draw_menu_page() {
  const RoundState& rs = round_state;
  draw_pulsing_background();
  step_glow_pulse();
  draw_logo();
  gfx_draw_text(nullptr, 580, 5, "ver.1.1", 0xC80275BE);
  // The title bobs with the pulse, so its y is fractional and rounded by the drawing layer.
  const Colour title = (static_cast<Colour>(rs.glow_pulse) << 24) | 0xFFFFFF;
  gfx_draw_text(nullptr, 380, rs.glow_pulse / 10.0f + 87.0f, "T O R V A N E", title);
  set_label_alphas();
  for (int i = 1; i <= kMenuItems; ++i)
    draw_item_label(i, 400, static_cast<float>(160 + 10 * i), kMenuLabels[i]);
  draw_item_marker(380);
}

// Acts on the selected item; true when the menu is to return (a new game starts).
bool act_on_item() {
  RoundState& rs = round_state;
  switch (rs.menu_item) {
    case 1:
      reset_game();
      rs.work_page ^= 1;
      fade_out();
      return true;
    case 2:
      rs.menu_item = 1;
      rs.menu_marker_y = 10;
      rs.work_page ^= 1;
      run_options();
      rs.menu_item = 2;
      rs.menu_marker_y = 20;
      return false;
    case 3:
      rs.work_page ^= 1;
      show_instructions();
      rs.menu_item = 3;
      rs.menu_marker_y = 30;
      return false;
    case 4:
      rs.work_page ^= 1;
      show_high_scores();
      return false;
    default:
      rs.work_page ^= 1;
      fade_out();
      destroy_images();
      program_exit(0);
  }
}

}  // namespace

void run_main_menu() {
  RoundState& rs = round_state;
  rs.glow_pulse = 250;
  rs.glow_pulse_dir = 1;
  gfx_cls();
  rs.work_page ^= 1;
  for (;;) {
    advance_frame_cycle();
    begin_frame();
    sample_frame_rate();
    draw_menu_page();
    step_item_keys(kMenuItems);
    slide_item_marker();
    // ENTER is not latched here: held, it repeats the action.
    if (key_down(kKeyEnter)) {
      if (act_on_item()) return;
      continue;  // a sub-screen came back: the next menu frame starts at once
    }
    if (!key_down(kKeyDown) && !key_down(kKeyUp)) rs.key_latch = 1;
    fade_in();
    end_frame();
    pace_frame();
  }
}
