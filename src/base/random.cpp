// The game's one random generator.
#include "base/random.h"

#include "base/rounding.h"

namespace {

RandomState state{};
bool seeded = false;

void twist() {
  constexpr std::uint32_t kUpper = 0x80000000u, kLower = 0x7FFFFFFFu, kMatrix = 0x9908B0DFu;
  std::uint32_t* w = state.words;
  for (int i = 0; i < 624; ++i) {
    const std::uint32_t y = (w[i] & kUpper) | (w[(i + 1) % 624] & kLower);
    w[i] = w[(i + 397) % 624] ^ (y >> 1) ^ ((y & 1u) ? kMatrix : 0u);
  }
  state.position = 0;
}

}  // namespace

void randomize(double seed) {
  state.words[0] = static_cast<std::uint32_t>(round_even64(seed));
  for (int i = 1; i < 624; ++i) state.words[i] = state.words[i - 1] * 1664525u + 1013904223u;
  state.position = 624;  // the next draw regenerates the whole table first
  seeded = true;
}

void forget_random() {
  state = RandomState{};
  seeded = false;
}

double rnd() {
  if (!seeded) randomize(0);
  if (state.position >= 624) twist();
  std::uint32_t y = state.words[state.position++];
  y ^= y >> 11;
  y ^= (y << 7) & 0x9D2C5680u;
  y ^= (y << 15) & 0xEFC60000u;
  y ^= y >> 18;
  return static_cast<double>(y) / 4294967296.0;
}

const RandomState& random_state() { return state; }
