#pragma once
// How every screen shows a frame: start it, draw, show it, and sleep out the rest of 1/41 s.

constexpr double kFramePeriod = 1.0 / 41.0;

// frame_cycle 1, 2, .. 5, 1, ..: the round, the menu and the options advance it each frame.
void advance_frame_cycle();
// frame_start = now; lock; draw on work_page while the other page is shown; then Alt+Enter.
void begin_frame();
// Flip work_page and unlock, which presents.
void end_frame();
// Sleeps out the rest of the frame begun at frame_start, at least 1 ms.
void pace_frame();
// The one-second frame-rate sample that also advances the round clock.
void sample_frame_rate();
