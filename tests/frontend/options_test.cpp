#include "frontend/main_menu.h"
#include "frontend/options.h"
#include "frontend_test_support.h"

using namespace frontend_test;

namespace {

// Entering the options fades the menu out and the options in: about 0.85 s before keys count.
constexpr int kReady = 1000;

class OptionsTest : public FrontEndTest {
 protected:
  void SetUp() override {
    FrontEndTest::SetUp();
    music_level = 0;
    sfx_level = 0;
    full_screen = 1;
    audio_volume = 0;
    round_state.glow_pulse = 250;
    round_state.glow_pulse_dir = 1;
  }
  void TearDown() override {
    if (full_screen == 2) gfx_open_screen(640, 480, 32, 2, 64, 0);
    full_screen = 1;
    FrontEndTest::TearDown();
  }
  // The label of an item as shown at full opacity (the selected, arrived item).
  void record_last_page() {
    backend.set_present_hook([this](const Image& page, std::int64_t) { last = page; });
  }
  Image last;
};

TEST_F(OptionsTest, FiveEntersCycleTheMusicVolumeBackToZero) {
  std::vector<ScriptEvent> s;
  std::vector<int> volumes;
  for (int i = 0; i < 5; ++i) press(s, kKeyEnter, kReady + 100 + 150 * i, 80);  // held over frames
  backend.set_script(sorted(s));
  std::vector<std::string> texts;
  int last_volume = -1;
  backend.set_present_hook([&](const Image& page, std::int64_t) {
    if (audio_volume != last_volume) volumes.push_back(last_volume = audio_volume);
    for (const char* t : {"Music Volume: 0 %", "Music Volume: 25 %", "Music Volume: 50 %",
                          "Music Volume: 75 %", "Music Volume: 100 %"})
      if (text_shown(page, 270, 170, t, 0xFF9191FF) && (texts.empty() || texts.back() != t))
        texts.push_back(t);
  });
  EXPECT_FALSE(run_until(run_options, kReady + 1200));
  EXPECT_EQ(music_level, 0);
  EXPECT_EQ(sfx_level, 0);
  EXPECT_EQ(volumes, (std::vector<int>{0, 63, 126, 190, 255, 0}));
  EXPECT_EQ(texts, (std::vector<std::string>{"Music Volume: 0 %", "Music Volume: 25 %",
                                             "Music Volume: 50 %", "Music Volume: 75 %",
                                             "Music Volume: 100 %", "Music Volume: 0 %"}));
}

TEST_F(OptionsTest, EnterHeldChangesTheSoundVolumeOnlyOnce) {
  std::vector<ScriptEvent> s;
  press(s, kKeyDown, kReady + 100, 50);
  press(s, kKeyEnter, kReady + 400, 500);
  backend.set_script(sorted(s));
  record_last_page();
  EXPECT_FALSE(run_until(run_options, kReady + 1200));
  EXPECT_EQ(sfx_level, 1);
  EXPECT_EQ(music_level, 0);
  EXPECT_EQ(audio_volume, 63);
  EXPECT_TRUE(text_shown(last, 270, 180, "SFX Volume: 25 %", 0xFF9191FF));
}

TEST_F(OptionsTest, FullScreenSwitchesOnAndBack) {
  std::vector<ScriptEvent> s;
  press(s, kKeyDown, kReady + 100, 50);
  press(s, kKeyDown, kReady + 200, 50);
  press(s, kKeyEnter, kReady + 500, 50);
  backend.set_script(sorted(s));
  record_last_page();
  EXPECT_FALSE(run_until(run_options, kReady + 900));
  EXPECT_EQ(full_screen, 2);
  EXPECT_TRUE(backend.full_screen());
  EXPECT_TRUE(text_shown(last, 270, 190, "Full Screen: YES", 0xFF9191FF));

  s.clear();
  press(s, kKeyEnter, kReady + 2000, 50);  // the second visit fades in again first
  backend.set_script(sorted(s));
  EXPECT_FALSE(run_until(run_options, kReady + 2500));
  EXPECT_EQ(full_screen, 1);
  EXPECT_FALSE(backend.full_screen());
  EXPECT_TRUE(text_shown(last, 270, 190, "Full Screen: NO", 0xFF9191FF));
}

TEST_F(OptionsTest, ItemsStopAtExitAndExitReturns) {
  std::vector<ScriptEvent> s;
  for (int i = 0; i < 6; ++i) press(s, kKeyDown, kReady + 100 + 100 * i, 50);
  press(s, kKeyEnter, kReady + 1000, 50);
  backend.set_script(sorted(s));
  EXPECT_TRUE(run_until(run_options, kReady + 3000));
  EXPECT_EQ(round_state.menu_item, 4);
  EXPECT_EQ(round_state.fade_alpha, 0);
  EXPECT_EQ(music_level + sfx_level, 0);
  EXPECT_EQ(full_screen, 1);
}

TEST_F(OptionsTest, EnterHeldThroughExitReopensTheOptionsFromTheMenu) {
  // The menu does not latch ENTER: still held on return, it acts on "Options" again.
  std::vector<ScriptEvent> s;
  press(s, kKeyDown, 100, 50);
  press(s, kKeyEnter, 300, 50);
  for (int i = 0; i < 3; ++i) press(s, kKeyDown, 1500 + 100 * i, 50);
  press(s, kKeyEnter, 2000, 2000);
  backend.set_script(sorted(s));
  int options_entries = 0;
  bool in_options = false;
  backend.set_present_hook([&](const Image& page, std::int64_t) {
    const bool options = text_shown(page, 250, 170, "->", 0xFF9191FF);
    if (options && !in_options) ++options_entries;
    in_options = options;
  });
  EXPECT_FALSE(run_until(run_main_menu, 4300));
  EXPECT_EQ(options_entries, 2);
}

}  // namespace
