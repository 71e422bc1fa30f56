#pragma once
// The calls by which the round reaches into the weapons and the sound hooks. They go through
// these pointers so that tests can watch every shot and sound; they point at the real thing.
#include <cstdint>

extern void (*round_spawn_projectile)(int weapon, double angle, int gun);
extern void (*round_play_sound)(std::int32_t sound);
