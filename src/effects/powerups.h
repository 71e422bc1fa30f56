#pragma once
// Powerups released by kills; they drift to the line and act when it touches them.
void spawn_powerup(float x, float y);
void update_powerups();
