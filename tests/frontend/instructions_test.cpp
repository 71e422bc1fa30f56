#include "frontend/instructions.h"
#include "frontend_test_support.h"

using namespace frontend_test;

namespace {

class InstructionsTest : public FrontEndTest {
 protected:
  void SetUp() override {
    FrontEndTest::SetUp();
    round_state.fade_alpha = 0;
    round_state.work_page = 1;  // in step with the pages: drawing on 1, showing 0
    round_state.glow_pulse = 200;
    round_state.glow_pulse_dir = 1;
  }
};

TEST_F(InstructionsTest, PageShowsTheNineIconsTransparentlyBesideTheirTexts) {
  Image last;
  backend.set_present_hook([&](const Image& page, std::int64_t) { last = page; });
  EXPECT_FALSE(run_until(show_instructions, 1000));
  for (int i = 1; i <= 9; ++i) {
    // Put mode 0 copies the colour without its alpha byte.
    EXPECT_EQ(last.row(220 + 20 * i + 5)[26 + 5], (kIconColour + i) & 0x00FFFFFFu) << i;
  }
  EXPECT_TRUE(text_shown(last, 50, 224 + 20 * 3,
                         "killer line (invincibility and you get points for collision)", 0xFF9191FF));
  EXPECT_TRUE(text_shown(last, 20, 42, "Torvane", 0xFFC3C3FF));
  EXPECT_TRUE(text_shown(last, 240, 12, "I N S T R U C T I O N S", 0xFF9191FF));
  EXPECT_TRUE(text_shown(last, 20, 192, "                    moving object and destroy everything near itself", 0xFF9191FF));
}

TEST_F(InstructionsTest, FadesInOverSeventeenFramesAndLeavesOnEnterFadingOut) {
  std::vector<bool> black;
  backend.set_present_hook([&](const Image& page, std::int64_t) { black.push_back(all_black(page)); });
  std::vector<ScriptEvent> s;
  press(s, kKeyEnter, 1000, 100);
  backend.set_script(sorted(s));
  EXPECT_TRUE(run_until(show_instructions, 5000));
  EXPECT_EQ(round_state.fade_alpha, 0);
  ASSERT_GE(black.size(), 40u);
  EXPECT_TRUE(black[0] && black[1] && black[2]);
  EXPECT_FALSE(black[3]);
  // The fade-out's last shown step is the page at alpha 15: dark, but not black.
  EXPECT_FALSE(black.back());
  // Leaving takes the 17 steps of the fade-out after the frame that saw ENTER.
  EXPECT_LE(backend.now_us(), 1000000 + 19 * 26000);
}

}  // namespace
