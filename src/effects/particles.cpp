#include "effects/particles.h"

// Placeholder until this part of the game lands.
void spawn_particle(int, float, float) {}
void spawn_spark(float, float, int) {}
void spawn_explosion(int, float, float) {}
void update_particles() {}
void update_sparks() {}
void update_explosions() {}
