#pragma once
// Cannon and blaster projectiles, laser beams and homing.

// gun 1 fires from the front end of the line, 2 from the rear end.
void spawn_projectile(int weapon, double angle, int gun);
void update_projectiles();
void spawn_laser_beam(int kind, float x, float y);
void update_laser_beams();
void steer_homing(int p, float target_deg);
// The shared turn rule: one step of `step` degrees toward the bearing t, the short way round,
// wrapped into 0..359. Within a step of the bearing the two corrections cancel.
int turn_heading_toward(int heading, double t, int step);
