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

}  // namespace
