#pragma once
// Powerups released by kills; they drift to the line and act when it touches them.
void spawn_powerup(float x, float y);
void update_powerups();
// The kind a draw r of 1..23 gives, by the kinds' weights.
int powerup_kind_from_draw(int r);
