#include "round/run_round.h"

#include "frame/gfx.h"
#include "frame/input.h"
#include "round/frame_pacing.h"

// Placeholder frame loop: shows a black page until Escape.
void run_round() {
  for (;;) {
    begin_frame();
    gfx_cls();
    end_frame();
    pace_frame();
    if (key_down(kKeyEscape)) return;
  }
}
