#pragma once
// Balls: spawning, flight, sensing the line, the hole and the laser, and the kill sequence.
void spawn_ball(int slot, int mode);  // mode 1 respawn, 2 wave start
void update_balls();
void destroy_ball(int slot);
// The line strike of ball `slot` (the ordinary line costs, the killer line kills).
void ball_strikes_line(int slot);
// The bonus for destroying a tagged ball of kind `kind`.
void pay_tagged_bonus(int kind);
