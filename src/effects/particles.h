#pragma once
// Particles, sparks and explosions: short-lived translucent effects.
void spawn_particle(int kind, float x, float y);
void spawn_spark(float x, float y, int kind);
void spawn_explosion(int kind, float x, float y);
// The four sparks every burst throws, at (x, y), 3 left, 3 down and 1 left of it.
void spawn_spark_burst(float x, float y, int kind);
void update_particles();
void update_sparks();
void update_explosions();
