// The main menu.
#include "screens/main_menu.h"

#include "assets/images.h"
#include "display/fades.h"
#include "display/frame_pacing.h"
#include "gfx/gfx.h"
#include "gfx/page_flip.h"
#include "screens/high_scores.h"
#include "screens/instructions.h"
#include "screens/item_list.h"
#include "screens/logo.h"
#include "screens/options.h"
#include "state/reset_game.h"
#include "state/round_state.h"
#include "system/i_platform.h"
#include "system/input.h"

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
  switch (menu_state.menu_item) {
    case 1:
      reset_game();
      work_page ^= 1;
      fade_out();
      return true;
    case 2:
      menu_state.menu_item = 1;
      menu_state.menu_marker_y = 10;
      work_page ^= 1;
      run_options();
      menu_state.menu_item = 2;
      menu_state.menu_marker_y = 20;
      return false;
    case 3:
      work_page ^= 1;
      show_instructions();
      menu_state.menu_item = 3;
      menu_state.menu_marker_y = 30;
      return false;
    case 4:
      work_page ^= 1;
      show_high_scores();
      return false;
    default:
      work_page ^= 1;
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
  work_page ^= 1;
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
    if (!key_down(kKeyDown) && !key_down(kKeyUp)) menu_state.key_latch = 1;
    fade_in();
    end_frame();
    pace_frame();
  }
}
