#include "effects/messages.h"

#include <string>

#include "effects/effects_test_support.h"

namespace {

using namespace effects_test;
using Messages = EffectsTest;

std::string_view text_of(int i) { return {messages[i].text, static_cast<std::size_t>(messages[i].text_length)}; }

TEST_F(Messages, StartBehindEveryMessageStillRightOf400ByThatMessagesLength) {
  // Shown in the same frame, the second starts where the first one's 30 cells have room.
  show_message("Here comes another tough wave!");
  show_message("Energy Awarded! + 70");
  EXPECT_EQ(messages[2].x, 645.0f + 300.0f);
  EXPECT_LE(messages[1].x + 8.0f * 30.0f, messages[2].x);
  for (int i = 0; i < 140; ++i) update_messages();  // both left of 400 now
  show_message("Double Gun!");
  update_messages();
  show_message("Go");  // behind the 11 cells of "Double Gun!" at 641
  show_message("Get Ready!");  // behind both
  EXPECT_EQ(std::pair(messages[4].x, messages[5].x), std::pair(645.0f + 110.0f, 645.0f + 110.0f + 20.0f));
  for (int i = 1; i <= 5; ++i) messages[i].active = 0;
  show_message(std::string(51, 'y') + "z");  // text cut to 51
  show_message(std::string(60, 'x'));        // behind the 51 cells kept of the first
  show_message("sixth");
  show_message("4");
  show_message("5");
  show_message("no free slot: dropped");
  EXPECT_EQ(std::tuple(messages[1].x, text_of(1), messages[2].x, text_of(2), text_of(5)),
            std::tuple(645.0f, std::string(51, 'y'), 645.0f + 510.0f, std::string(51, 'x'), "5"));
  messages[3].active = 0;
  show_message("next");  // a freed slot is taken again from the front
  EXPECT_EQ(text_of(3), "next");
}

TEST_F(Messages, InvisibleFor16FramesFadesInAndOutAndIsFreedInThe177th) {
  show_message("IIIIIIIIII");
  int alpha[178] = {}, visible_before_17 = 0, half_faded = 0;
  for (int frame = 1; frame <= 177; ++frame) {
    ASSERT_EQ(messages[1].active, 1) << frame;
    fresh_page();
    update_messages();
    alpha[frame] = messages[1].alpha;
    ASSERT_TRUE(alpha[frame] >= 0 && alpha[frame] <= 255) << frame;
    if (frame <= 16) visible_before_17 += count_non_black();
    if (frame == 48) half_faded = static_cast<int>(std::ranges::count(gfx_page(0)->pixels, on_black(128, 0xFFFFFF)));
  }
  EXPECT_EQ(visible_before_17, 0);
  EXPECT_GT(half_faded, 10);
  const struct { int frame, alpha; } checkpoints[] = {{16, 0},   {17, 4}, {48, 128}, {79, 252}, {80, 255},
                                                     {96, 255}, {159, 3}, {160, 0}, {177, 0}};
  for (const auto& c : checkpoints) EXPECT_EQ(alpha[c.frame], c.alpha) << c.frame;
  EXPECT_EQ(messages[1].active, 0);
}

}  // namespace
