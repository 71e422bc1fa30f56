#pragma once
// The line's shots and the round's own sounds (firing, turning, the tally) go through these
// pointers so that tests can watch them; they point at the real thing. Other sounds go to the
// hooks directly.
#include <cstdint>

extern void (*round_spawn_projectile)(int weapon, double angle, int gun);
extern void (*round_play_sound)(std::int32_t sound);
