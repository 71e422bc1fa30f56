#pragma once
// The hit pass of one cannon or blaster shot against balls and kamikazes.
void check_projectile_hits(int p);

// Shared by the ball and kamikaze halves of the pass.
// |ax - bx| < n and |ay - by| < n.
bool within_box(float ax, float ay, float bx, float by, float n);
// One homing correction of shot p toward a target at (tx, ty), when it counts.
void home_toward(int p, float tx, float ty, bool target_active);
// The teal burst of a blaster detonation at (sx, sy).
void detonation_effects(float sx, float sy);
