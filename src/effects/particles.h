#pragma once
// Particles, sparks and explosions: short-lived translucent effects.
void spawn_particle(int kind, float x, float y);
void spawn_spark(float x, float y, int kind);
void spawn_explosion(int kind, float x, float y);
void update_particles();
void update_sparks();
void update_explosions();
