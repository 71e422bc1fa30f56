// The web backend's keys: the browser's key names to the game's codes, and the queue that
// applies them when the game looks, holding a short tap until a frame has shown it.
#include <gtest/gtest.h>

#include "platform/browser_keys.h"
#include "platform/queued_input.h"
#include "system/input.h"

namespace {

TEST(BrowserKeys, PhysicalKeysGetTheSdlBackendsSet1Codes) {
  const std::pair<const char*, int> cases[] = {
      {"KeyQ", 16},    {"KeyP", 25},      {"KeyA", 30},     {"KeyL", 38},      {"KeyZ", 44},     {"KeyM", 50},
      {"Digit1", 2},   {"Digit9", 10},    {"Digit0", 11},   {"F1", 59},        {"F10", 68},      {"F11", 87},
      {"Escape", 1},   {"Enter", 28},     {"NumpadEnter", 28}, {"Space", 57},  {"Backspace", 14}, {"ArrowUp", 72},
      {"Numpad8", 72}, {"ArrowLeft", 75}, {"Numpad4", 75},  {"ArrowRight", 77}, {"ArrowDown", 80}, {"Delete", 83},
      {"F13", -1},     {"Digit", -1},     {"Digit10", -1},  {"MetaLeft", -1},  {"", -1}};
  for (const auto& [code, set1] : cases) EXPECT_EQ(browser_key_to_set1(code), set1) << code;
}

TEST(BrowserKeys, TypedCodesFollowWhatTheKeyMeans) {
  const struct { const char* code; const char* key; int typed; } cases[] = {
      {"KeyA", "a", 'a'},          {"KeyA", "A", 'A'},          {"Space", " ", ' '},
      {"Digit7", "/", '/'},        {"Backspace", "Backspace", 8}, {"Enter", "Enter", 13},
      {"Escape", "Escape", 27},    {"ArrowUp", "ArrowUp", 0xFF00 | 72}, {"PageDown", "PageDown", 0xFF00 | 81},
      {"F10", "F10", 0xFF00 | 68}, {"F11", "F11", 0},           {"Numpad8", "8", '8'},
      {"Numpad8", "ArrowUp", 0xFF00 | 72}, {"ShiftLeft", "Shift", 0}, {"KeyA", "Dead", 0}};
  for (const auto& c : cases) EXPECT_EQ(browser_key_to_typed(c.code, c.key), c.typed) << c.code << " " << c.key;
}

class InputQueueTest : public ::testing::Test {
 protected:
  void SetUp() override { drain(); }
  void TearDown() override { drain(); }
  static void drain() {
    input_release_all_keys();
    while (!key_read().empty()) {}
    take_focus_lost();
    take_full_screen_switches();
  }
  InputQueue queue;
};

// A tap within one frame (a finger on the touch screen's Esc) is still held when the round looks
// for Escape after showing its page, and through the next frame; what follows it waits.
TEST_F(InputQueueTest, ATapWithinOneFrameIsHeldUntilTheNextPageIsShownAndWhatFollowsWaits) {
  queue.push({QueuedInput::Kind::Down, kKeyEscape});
  queue.push({QueuedInput::Kind::Up, kKeyEscape});
  queue.push({QueuedInput::Kind::Typed, 'x'});
  queue.apply();
  EXPECT_TRUE(input_key_held(kKeyEscape));
  EXPECT_EQ(key_read(), "");
  queue.frame_shown();  // the page of the frame it went down in
  queue.apply();        // the keys read after it
  EXPECT_TRUE(input_key_held(kKeyEscape));
  EXPECT_EQ(key_read(), "");
  queue.frame_shown();
  queue.apply();
  EXPECT_FALSE(input_key_held(kKeyEscape));
  EXPECT_EQ(key_read(), "x");
  EXPECT_TRUE(queue.empty());
}

TEST_F(InputQueueTest, AKeyHeldFromEarlierFramesIsReleasedAtOnce) {
  queue.push({QueuedInput::Kind::Down, kKeyLeft});
  queue.apply();
  queue.frame_shown();
  queue.frame_shown();
  queue.push({QueuedInput::Kind::Up, kKeyLeft});
  queue.push({QueuedInput::Kind::Down, kKeyLeft});  // a key repeat's down while held
  queue.push({QueuedInput::Kind::Up, kKeyLeft});
  queue.push({QueuedInput::Kind::FullScreenSwitch, 0});
  queue.apply();
  // Released, pressed again in this frame: that second tap is held back in its turn.
  EXPECT_TRUE(input_key_held(kKeyLeft));
  EXPECT_EQ(take_full_screen_switches(), 0);
  queue.frame_shown();
  queue.frame_shown();
  queue.apply();
  EXPECT_FALSE(input_key_held(kKeyLeft));
  EXPECT_EQ(take_full_screen_switches(), 1);
}

// A release whose press the queue never saw (held before the queue began) is not held back.
TEST_F(InputQueueTest, AReleaseOfAKeyPressedBeforeTheQueueIsAppliedAtOnce) {
  input_key_event(kKeyRight, true);
  queue.push({QueuedInput::Kind::Up, kKeyRight});
  queue.apply();
  EXPECT_FALSE(input_key_held(kKeyRight));
}

TEST_F(InputQueueTest, LosingTheFocusReleasesEveryKeyAndAFullQueueRefuses) {
  queue.push({QueuedInput::Kind::Down, kKeyRight});
  queue.push({QueuedInput::Kind::FocusLost, 0});
  queue.apply();
  EXPECT_FALSE(input_key_held(kKeyRight));
  EXPECT_TRUE(take_focus_lost());
  int accepted = 0;
  while (queue.push({QueuedInput::Kind::Typed, 'a'}) && accepted < 1000) ++accepted;
  EXPECT_EQ(accepted, 255);
}

}  // namespace
