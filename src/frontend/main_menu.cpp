#include "frontend/main_menu.h"

#include "frame/gfx.h"
#include "frame/input.h"
#include "round/frame_pacing.h"
#include "round/reset_game.h"
#include "round/round_state.h"

// Placeholder menu: ENTER starts a game.
void run_main_menu() {
  RoundState& rs = round_state;
  for (;;) {
    begin_frame();
    gfx_cls();
    gfx_draw_text(nullptr, 240, 230, "Press ENTER to start", 0xFF9191FF);
    end_frame();
    pace_frame();
    if (key_down(kKeyEnter)) {
      reset_game();
      rs.fade_alpha = 255;
      return;
    }
  }
}
