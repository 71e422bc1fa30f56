#include "enemies/hits.h"

// Placeholder until this part of the game lands.
void check_projectile_hits(int) {}
