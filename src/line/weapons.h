#pragma once
// Cannon and blaster projectiles and laser beams.

// gun 1 fires from the front end of the line, 2 from the rear end.
void spawn_projectile(int weapon, double angle, int gun);
void update_projectiles();
void spawn_laser_beam(int kind, float x, float y);
void update_laser_beams();
