#include "effects/powerups.h"

// Placeholder until this part of the game lands.
void spawn_powerup(float, float) {}
void update_powerups() {}
