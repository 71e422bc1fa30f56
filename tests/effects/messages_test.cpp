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

TEST_F(Messages, StartBehindEveryMessageStillRightOf400ByTheirFullLength) {
  show_message("Double Gun!");
  EXPECT_EQ(messages[1].x, 645.0f);
  update_messages();
  show_message("Get Ready!");  // 10 characters behind the first one at 641
  EXPECT_EQ(messages[2].x, 745.0f);
  show_message("Go");  // both others beyond 400: shifted twice
  EXPECT_EQ(messages[3].x, 685.0f);
  for (int i = 0; i < 90; ++i) update_messages();
  show_message(std::string(51, 'y') + "z");  // all left of 400: 645 exactly; text cut to 51
  EXPECT_EQ(messages[4].x, 645.0f);
  EXPECT_EQ(text_of(4), std::string(51, 'y'));
  show_message(std::string(60, 'x'));  // shifted by all 60 characters
  EXPECT_EQ(messages[5].x, 645.0f + 600.0f);
  show_message("sixth");  // no free slot: dropped
  EXPECT_EQ(text_of(5), std::string(51, 'x'));
  messages[2].active = 0;
  show_message("next");  // a freed slot is taken again from the front
  EXPECT_EQ(text_of(2), "next");
}

TEST_F(Messages, InvisibleFor16FramesFadesInAndOutAndIsFreedInThe177th) {
  show_message("IIIIIIIIII");
  int alpha[178] = {};
  int visible_before_17 = 0;
  for (int frame = 1; frame <= 177; ++frame) {
    ASSERT_EQ(messages[1].active, 1) << frame;
    fresh_page();
    update_messages();
    alpha[frame] = messages[1].alpha;
    ASSERT_GE(alpha[frame], 0);
    ASSERT_LE(alpha[frame], 255);
    if (frame <= 16) visible_before_17 += count_non_black();
    if (frame == 48) {  // half faded in: every glyph pixel blended on the bottom rows
      const Image* page = gfx_page(0);
      int blended = 0;
      for (int y = 470; y <= 477; ++y)
        for (int x = 285; x < 640; ++x) blended += page->row(y)[x] == on_black(128, 0xFFFFFF);
      EXPECT_GT(blended, 10);
      EXPECT_EQ(count_non_black(), blended);
    }
  }
  EXPECT_EQ(visible_before_17, 0);
  const struct { int frame, alpha; } checkpoints[] = {{16, 0},   {17, 4}, {48, 128}, {79, 252}, {80, 255},
                                                     {96, 255}, {159, 3}, {160, 0}, {177, 0}};
  for (const auto& c : checkpoints) EXPECT_EQ(alpha[c.frame], c.alpha) << c.frame;
  EXPECT_EQ(messages[1].active, 0);
  const float x_after = messages[1].x;
  update_messages();
  EXPECT_EQ(messages[1].x, x_after);
}

}  // namespace
