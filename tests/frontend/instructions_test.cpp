#include "frontend/instructions.h"
#include "frontend_test_support.h"

using namespace frontend_test;

namespace {

using InstructionsTest = FrontEndTest;

TEST_F(InstructionsTest, PageShowsTheNineIconsBesideTheirTexts) {
  round_state.fade_alpha = 0;
  round_state.work_page = 1;  // in step with the pages: drawing on 1, showing 0
  round_state.glow_pulse = 200;
  round_state.glow_pulse_dir = 1;
  keep_last_page();
  EXPECT_FALSE(run_until(show_instructions, 1000));
  // Put mode 0 copies the colour without its alpha byte.
  for (int i = 1; i <= 9; ++i) EXPECT_EQ(last.row(225 + 20 * i)[31], (kIconColour + i) & 0x00FFFFFFu) << i;
  EXPECT_TRUE(text_shown(last, 50, 284, "killer line (invincibility and you get points for collision)", kLabel));
  EXPECT_TRUE(text_shown(last, 20, 42, "Torvane", 0xFFC3C3FF));
}

}  // namespace
