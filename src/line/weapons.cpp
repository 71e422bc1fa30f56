#include "line/weapons.h"

// Placeholder until this part of the game lands.
void spawn_projectile(int, double, int) {}
void update_projectiles() {}
void spawn_laser_beam(int, float, float) {}
void update_laser_beams() {}
void steer_homing(int, float) {}
int turn_heading_toward(int heading, double, int) { return heading; }
