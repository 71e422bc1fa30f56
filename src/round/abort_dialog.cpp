// The abort question over a frozen frame, and the round's closing fade.
#include "round/abort_dialog.h"

#include "assets/images.h"
#include "audio/audio.h"
#include "display/frame_pacing.h"
#include "gfx/gfx.h"
#include "state/round_state.h"
#include "system/input.h"

void show_snapshot_frame(bool with_question) {
  begin_frame();
  gfx_cls();
  gfx_put(nullptr, 0, 0, snapshot_image, kPutBlend, round_state.fade_alpha);
  if (with_question) gfx_draw_text(nullptr, 280, 225, "Abort(Y/N)?", 0xFF0275BE);
}

AbortAnswer run_abort_dialog() {
  RoundState& rs = round_state;
  gfx_get(nullptr, 0, 0, 639, 479, snapshot_image);
  rs.fade_alpha = 255;
  do {
    show_snapshot_frame(false);
    rs.fade_alpha -= 15;
    end_frame();
    pace_frame();
  } while (rs.fade_alpha >= 150);  // shows 255 .. 150 and leaves 135

  for (;;) {
    show_snapshot_frame(true);
    end_frame();
    pace_frame();
    if (key_down(kKeyN)) break;
    if (key_down(kKeyY)) {
      audio_stop_music();
      return AbortAnswer::Abort;
    }
  }

  gfx_cls();
  do {
    show_snapshot_frame(false);
    rs.fade_alpha += 15;
    if (rs.fade_alpha > 255) rs.fade_alpha = 255;
    end_frame();
    pace_frame();
  } while (rs.fade_alpha != 255);
  return AbortAnswer::Resume;
}

void run_closing_fade() {
  RoundState& rs = round_state;
  do {
    show_snapshot_frame(false);
    rs.fade_alpha -= 15;
    if (rs.fade_alpha < 0) rs.fade_alpha = 0;
    end_frame();
    pace_frame();
  } while (rs.fade_alpha != 0);
}
