#pragma once
// What the player's keys and the round's timers do to the line each frame, in the order the
// round's loop runs them: angle, weapon choice, firing, energy, turning.

void compute_line_angle();  // angle_rad, angle_sin, angle_cos from angle_deg
void select_weapon();       // keys 1..3, and the fall-back to the cannon without ammo
void fire_weapons();        // lock, firing, cooldown, and no shots without energy
void regenerate_energy();   // a point a frame while the regeneration timer runs
void turn_line();           // Right, then Left; slower while sluggish
