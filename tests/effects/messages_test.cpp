#include "effects/messages.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "effects/effects_test_support.h"

namespace {

using namespace effects_test;

class Messages : public ::testing::Test {
 protected:
  void SetUp() override {
    fresh_page();
    clear_effects();
  }
  static std::string_view text_of(int slot) {
    return {messages[slot].text, static_cast<std::size_t>(messages[slot].text_length)};
  }
};

TEST_F(Messages, SecondMessageStartsBehindOneStillNearTheRightEdge) {
  show_message("Double Gun!");
  EXPECT_EQ(messages[1].x, 645.0f);
  EXPECT_EQ(messages[1].active, 1);
  EXPECT_EQ(messages[1].alpha, 0);
  update_messages();
  show_message("Get Ready!");  // 10 characters, the first one at 641
  EXPECT_EQ(messages[2].x, 745.0f);
  show_message("Go");  // both others beyond 400: shifted twice
  EXPECT_EQ(messages[3].x, 685.0f);

  // Once every message is left of 400, a new one starts at 645 exactly.
  for (int i = 0; i < 90; ++i) update_messages();
  ASSERT_LE(messages[2].x, 400.0f);
  show_message("Bonus");
  EXPECT_EQ(messages[4].x, 645.0f);
}

TEST_F(Messages, LifeOfAMessage) {
  show_message("Get Ready!");
  int min_alpha = 0, max_alpha = 0;
  for (int frame = 1; frame <= 177; ++frame) {
    ASSERT_EQ(messages[1].active, 1) << frame;
    update_messages();
    const int a = messages[1].alpha;
    min_alpha = std::min(min_alpha, a);
    max_alpha = std::max(max_alpha, a);
    if (frame <= 16) {
      ASSERT_EQ(a, 0) << frame;
    }
    if (frame == 17) {
      EXPECT_EQ(a, 4);
    }
    if (frame == 79) {
      EXPECT_EQ(a, 252);
    }
    if (frame == 80) {
      EXPECT_EQ(a, 255);
    }
    if (frame == 96) {
      EXPECT_EQ(a, 255);
    }
    if (frame == 159) {
      EXPECT_EQ(a, 3);
    }
    if (frame >= 160) {
      ASSERT_EQ(a, 0) << frame;
    }
    if (frame == 176) {
      EXPECT_EQ(messages[1].active, 1);
    }
  }
  EXPECT_EQ(messages[1].active, 0);  // freed in its 177th frame
  EXPECT_EQ(min_alpha, 0);
  EXPECT_EQ(max_alpha, 255);
  const float x_after = messages[1].x;
  update_messages();
  EXPECT_EQ(messages[1].x, x_after);
  show_message("again");
  EXPECT_EQ(messages[1].active, 1);
}

TEST_F(Messages, DrawnAtTheBottomWithItsOpacity) {
  show_message("IIIIIIIIII");
  for (int frame = 1; frame <= 16; ++frame) {
    fresh_page();
    update_messages();
  }
  EXPECT_EQ(count_non_black(), 0);  // waiting off screen at alpha 0

  for (int frame = 17; frame <= 90; ++frame) {
    fresh_page();
    update_messages();
  }
  // Fully opaque now: white glyph pixels only, all within the rows 470..477.
  const Image* page = gfx_page(0);
  int white = 0;
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) {
      const Colour c = page->row(y)[x];
      if (c == 0xFF000000u) continue;
      ASSERT_EQ(c, 0xFFFFFFFFu) << x << "," << y;
      ASSERT_GE(y, 470);
      ASSERT_LE(y, 477);
      ASSERT_GE(x, 285);  // x = 645 - 360
      ++white;
    }
  EXPECT_GT(white, 10);

  // Half faded in: blended, not opaque.
  clear_effects();
  show_message("IIIIIIIIII");
  for (int frame = 1; frame <= 48; ++frame) {
    fresh_page();
    update_messages();
  }
  ASSERT_EQ(messages[1].alpha, 128);
  EXPECT_EQ(count_non_black(), white);
  const Colour half = on_black(128, 0xFFFFFF);
  int blended = 0;
  for (Colour c : page->pixels) blended += c == half;
  EXPECT_EQ(blended, white);
}

TEST_F(Messages, LongTextIsCutTo51ButShiftsByItsFullLength) {
  const std::string long_text(60, 'x');
  show_message(long_text);
  EXPECT_EQ(messages[1].text_length, 51);
  EXPECT_EQ(text_of(1), std::string(51, 'x'));
  show_message(std::string(51, 'y') + "z");
  EXPECT_EQ(text_of(2), std::string(51, 'y'));
  EXPECT_EQ(messages[2].x, 645.0f + 10.0f * 52);

  clear_effects();
  show_message("first");
  show_message(long_text);
  EXPECT_EQ(messages[2].x, 645.0f + 600.0f);
}

TEST_F(Messages, SixthMessageIsDropped) {
  for (int i = 1; i <= 5; ++i) show_message("busy");
  const FloatingMessage before = messages[5];
  show_message("dropped");
  for (int i = 1; i <= 5; ++i) EXPECT_EQ(text_of(i), "busy");
  EXPECT_EQ(messages[5].x, before.x);
  // A freed slot is taken again from the front.
  messages[2].active = 0;
  show_message("next");
  EXPECT_EQ(text_of(2), "next");
}

}  // namespace
