#include "enemies/kamikazes.h"

// Placeholder until this part of the game lands.
void spawn_kamikaze(int) {}
void update_kamikazes() {}
void destroy_kamikaze(int, int) {}
void check_projectile_hits_kamikazes(int) {}
