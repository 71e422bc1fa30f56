// Key state and the typed-key ring, driven through the headless backend. (Sleeps move the
// virtual clock of every recorded game.)
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "headless/headless_platform.h"
#include "system/input.h"

namespace {

class Input : public ::testing::Test {
 protected:
  void SetUp() override {
    platform_install(&backend);
    input_release_all_keys();
    while (!key_read().empty()) {
    }
  }
  void TearDown() override { platform_install(nullptr); }
  HeadlessPlatform backend{1000.0};
};

TEST_F(Input, HeldKeysReadAsHeldUntilReleasedAndOutOfRangeIsNever) {
  input_key_event(kKeyRight, true);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(key_down(kKeyRight), -1);
  input_key_event(kKeyRight, false);
  EXPECT_EQ(key_down(kKeyRight), 0);
  EXPECT_EQ(key_down(200), 0);
  EXPECT_EQ(key_down(-1), 0);
  input_key_event(300, true);  // ignored, no crash
}

TEST_F(Input, TypedKeysComeOldestFirstAndASixteenthPushesOutTheOldest) {
  input_typed_key('a');
  input_typed_key(0xFF00 | kKeyUp);
  EXPECT_EQ(key_read(), "a");
  const std::string up = key_read();
  ASSERT_EQ(up.size(), 2u);
  EXPECT_EQ(static_cast<unsigned char>(up[0]), 255);
  EXPECT_EQ(up[1], 72);
  EXPECT_EQ(key_read(), "");
  for (int i = 0; i < 16; ++i) input_typed_key(static_cast<std::uint16_t>('A' + i));
  EXPECT_EQ(key_read(), "B");  // at most 15 wait: 'A' was pushed out
  int left = 1;
  while (!key_read().empty()) ++left;
  EXPECT_EQ(left, 15);
}

// Ring indices a bad state put out of range (a gigabyte past the ring, or below it) are never
// used: the ring reads as empty and takes keys again from its start.
TEST_F(Input, ARingWithIndicesOutOfRangeReadsEmptyAndStartsAgain) {
  const auto state = input_state_bytes();
  for (const std::int32_t bad : {16, -1, 0x40000000}) {
    input_typed_key('a');
    const std::vector<std::uint8_t> good(state.begin(), state.end());
    std::size_t head = 0;
    while (!key_read().empty()) {
    }
    for (std::size_t i = 0; i < good.size(); ++i)
      if (good[i] != state[i]) head = i;  // the head moved as the key was read
    std::memcpy(&state[head], &bad, sizeof bad);
    EXPECT_NE(input_state_problem(state), "");
    EXPECT_EQ(key_read(), "") << bad;
    EXPECT_EQ(input_state_problem(state), "") << bad;
    std::memcpy(&state[head], &bad, sizeof bad);
    input_typed_key('b');
    EXPECT_EQ(key_read(), "b") << bad;
    EXPECT_EQ(key_read(), "") << bad;
  }
}

// Recordings hold this block byte for byte, so its layout and byte order are the file format's:
// the same on every machine, numbers low byte first.
TEST_F(Input, TheRecordedBlockHoldsItsNumbersLowByteFirstAtFixedPlaces) {
  const std::span<std::uint8_t> bytes = input_state_bytes();
  ASSERT_EQ(bytes.size(), 180u);
  const auto u32_at = [&](int at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
  };
  const std::uint32_t presses = u32_at(128);
  input_key_event(kKeyLeft, true);
  EXPECT_EQ(bytes[kKeyLeft], 1);
  EXPECT_EQ(u32_at(128), presses + 1);
  const std::uint32_t tail = u32_at(168);
  ASSERT_LT(tail, 16u);
  input_typed_key(0xFF00 | kKeyUp);
  EXPECT_EQ(bytes[132 + 2 * tail], kKeyUp);
  EXPECT_EQ(bytes[133 + 2 * tail], 0xFF);
  EXPECT_EQ(u32_at(168), (tail + 1) % 16);
  input_full_screen_switch();
  EXPECT_EQ(u32_at(172), 1u);
  input_focus_lost();
  EXPECT_EQ(u32_at(176), 1u);
  EXPECT_EQ(take_full_screen_switches(), 1);
  EXPECT_TRUE(take_focus_lost());
}

}  // namespace
