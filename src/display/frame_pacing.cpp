// Starting, showing and pacing every screen's frames.
#include "display/frame_pacing.h"

#include "base/rounding.h"
#include "display/screen_switch.h"
#include "gfx/gfx.h"
#include "gfx/page_flip.h"
#include "state/round_state.h"
#include "system/input.h"

void advance_frame_cycle() { round_state.frame_cycle = round_state.frame_cycle % 5 + 1; }

void begin_frame() {
  RoundState& rs = round_state;
  rs.frame_start = timer_seconds();
  gfx_lock();
  gfx_set_pages(work_page, work_page ^ 1);
  // Every screen begins its frames here, so Alt+Enter works wherever the player is. Two
  // presses within one frame cancel out.
  if (take_full_screen_switches() % 2 == 1) switch_full_screen_and_save();
}

void end_frame() {
  work_page ^= 1;
  gfx_unlock(-1, -1);
}

void pace_frame() {
  const int ms = round_even((round_state.frame_start + kFramePeriod - timer_seconds()) * 1000.0);
  sleep_ms(ms > 1 ? ms : 1);
}

void sample_frame_rate() {
  RoundState& rs = round_state;
  rs.fps_frames += 1;
  if (rs.fps_sample_start + 1.0 < timer_seconds()) {
    rs.fps = rs.fps_frames;
    rs.fps_frames = 0;
    rs.round_seconds += 1;
    rs.fps_sample_start = timer_seconds();
  }
}
