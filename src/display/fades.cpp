// Screen fades and the glow pulse of the front-end pages.
#include "display/fades.h"

#include "assets/images.h"
#include "base/rounding.h"
#include "display/frame_pacing.h"
#include "gfx/gfx.h"
#include "gfx/page_flip.h"
#include "state/glow_pulse.h"
#include "state/round_state.h"
#include "system/input.h"

namespace {

constexpr int kFadeStep = 15;

// Copies the finished page into the snapshot and shows it; the fade steps then redraw the
// snapshot over black on alternating pages.
void take_snapshot() {
  gfx_get(nullptr, 0, 0, 639, 479, snapshot_image);
  work_page ^= 1;
  gfx_unlock(-1, -1);
}

// One fade step: the snapshot over black at the current alpha, shown and paced.
void show_fade_step(bool clear_shown_page) {
  RoundState& rs = round_state;
  rs.frame_start = timer_seconds();
  gfx_lock();
  // Mode 9 at alpha 0 draws opaquely, so the low-alpha steps hide the page about to be shown.
  if (clear_shown_page) gfx_cls();
  gfx_set_pages(work_page, work_page ^ 1);
  gfx_cls();
  gfx_put(nullptr, 0, 0, snapshot_image, kPutBlend, rs.fade_alpha);
  work_page ^= 1;
  gfx_unlock(-1, -1);
}

}  // namespace

void fade_in() {
  RoundState& rs = round_state;
  if (rs.fade_alpha >= 255) return;
  take_snapshot();
  do {
    show_fade_step(rs.fade_alpha < 37);
    rs.fade_alpha += kFadeStep;
    if (rs.fade_alpha > 255) rs.fade_alpha = 255;
    pace_frame();
  } while (rs.fade_alpha != 255);
}

void fade_out() {
  RoundState& rs = round_state;
  if (rs.fade_alpha <= 0) return;
  take_snapshot();
  do {
    show_fade_step(false);
    rs.fade_alpha -= kFadeStep;
    if (rs.fade_alpha < 0) rs.fade_alpha = 0;
    pace_frame();
  } while (rs.fade_alpha != 0);
}

void step_glow_pulse() { step_pulse(150, 255); }

void draw_pulsing_background(int background) {
  gfx_cls();
  gfx_put(nullptr, 0, 0, background_images[background], kPutBlend,
          round_even(round_state.glow_pulse / 2.0 + 100));
}
