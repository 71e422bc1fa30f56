#pragma once
// Balls: spawning, flight, sensing the line, the hole and the laser, and the kill sequence.
void spawn_ball(int slot, int mode);  // mode 1 respawn, 2 wave start
void update_balls();
void destroy_ball(int slot);
