#include "enemies/balls.h"

// Placeholder until this part of the game lands.
void spawn_ball(int, int) {}
void update_balls() {}
void destroy_ball(int) {}
