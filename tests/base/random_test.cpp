// The generator must give the same numbers on every machine: the backgrounds come from it.
#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "base/random.h"

namespace {

TEST(Random, SeedRoundsToNearestEvenAndChainsTheTable) {
  randomize(1234.5);
  EXPECT_EQ(random_state().words[0], 1234u);
  randomize(1235.5);
  EXPECT_EQ(random_state().words[0], 1236u);
  EXPECT_EQ(random_state().words[1], 1236u * 1664525u + 1013904223u);
  randomize(-1.0);
  EXPECT_EQ(random_state().words[0], 0xFFFFFFFFu);  // low 32 bits of the integer
}

TEST(Random, DrawsAreTheStandardTwisterOverTheSeededTable) {
  randomize(12345);
  // Load std::mt19937 with the same 624 words (its stream format is the words and the index)
  // and compare the tempered outputs: the same sequence for a seed, each draw below one.
  std::ostringstream words;
  for (int i = 0; i < 624; ++i) words << random_state().words[i] << ' ';
  words << 624;
  std::mt19937 reference;
  std::istringstream(words.str()) >> reference;
  for (int i = 0; i < 2000; ++i) {
    const double expected = static_cast<double>(reference()) / 4294967296.0;
    ASSERT_EQ(rnd(), expected) << "draw " << i;
  }
}

}  // namespace
