#pragma once
// Powerups released by kills; they drift to the line and act when it touches them, setting
// the timers of their effects (the line reads them).
void spawn_powerup(float x, float y);
void update_powerups();
// The kind a draw r of 1..23 gives, by the kinds' weights.
int powerup_kind_from_draw(int r);
// Counts a kill towards the next powerup and releases it at (x, y) when the count is reached.
void count_powerup_kill(float x, float y);
// One frame off every running powerup timer.
void count_down_powerup_timers();
