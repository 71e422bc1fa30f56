#pragma once
// The game's sound effects, synthesised at start-up: no sound files ship with the game.
#include <cstdint>
#include <vector>

constexpr int kSoundRate = 44100;
constexpr int kSoundCount = 13;  // handles 1..13 of audio/audio.h

// Mono 16-bit samples of the effect for a sound handle (1..13); empty for any other handle.
// The same handle always gives the same samples.
std::vector<std::int16_t> synthesise_sound(int handle);
