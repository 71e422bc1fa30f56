// The watched calls, pointing at the real shots and sounds.
#include "line/round_calls.h"

#include "audio/audio.h"
#include "line/weapons.h"

void (*round_spawn_projectile)(int weapon, double angle, int gun) = spawn_projectile;
void (*round_play_sound)(std::int32_t sound) = audio_play_sound;
