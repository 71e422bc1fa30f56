#pragma once
// The game's one random generator: MT19937 tempering over a table seeded by a linear
// congruential chain from the seed itself, so fixed seeds give the same assets everywhere.
#include <cstdint>

void randomize(double seed);
double rnd();
// Unseeded again, as at program start.
void forget_random();

// The raw table, for tests that cross-check the twister.
struct RandomState {
  std::uint32_t words[624];
  int position;
};
const RandomState& random_state();
