#pragma once
// The steps of one ordinary frame that change the game before anything is drawn, in the order
// the frame loop runs them.
#include "round/frame_pacing.h"  // advance_frame_cycle

void compute_line_angle();         // angle_rad, angle_sin, angle_cos from angle_deg
void select_weapon();              // keys 1..3, and the fall-back to the cannon without ammo
void fire_weapons();               // lock, firing, cooldown, and no shots without energy
void regenerate_energy();
void turn_line();                  // Right, then Left
void count_down_powerup_timers();
void draw_background();            // with the cross-fade
