#include "effects/messages.h"

#include <string>

#include "effects/effects_test_support.h"

namespace {

using namespace effects_test;
using Messages = EffectsTest;

std::string_view text_of(int i) { return {messages[i].text, static_cast<std::size_t>(messages[i].text_length)}; }

TEST_F(Messages, StartBehindEveryMessageStillRightOf400ByTheirFullLength) {
  show_message("Double Gun!");
  EXPECT_EQ(messages[1].x, 645.0f);
  update_messages();
  show_message("Get Ready!");  // 10 characters behind the first one at 641
  show_message("Go");          // both others beyond 400: shifted twice
  EXPECT_EQ(std::pair(messages[2].x, messages[3].x), std::pair(745.0f, 685.0f));
  for (int i = 0; i < 90; ++i) update_messages();
  show_message(std::string(51, 'y') + "z");  // all left of 400: 645 exactly; text cut to 51
  show_message(std::string(60, 'x'));        // shifted by all 60 characters
  show_message("sixth");                     // no free slot: dropped
  EXPECT_EQ(std::tuple(messages[4].x, text_of(4), messages[5].x, text_of(5)),
            std::tuple(645.0f, std::string(51, 'y'), 645.0f + 600.0f, std::string(51, 'x')));
  messages[2].active = 0;
  show_message("next");  // a freed slot is taken again from the front
  EXPECT_EQ(text_of(2), "next");
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
