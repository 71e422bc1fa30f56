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
    music_level = sfx_level = audio_volume = 0;
    full_screen = 1;
    round_state.glow_pulse = 250;
    round_state.glow_pulse_dir = 1;
  }
  void TearDown() override {
    if (full_screen == 2) gfx_open_screen(640, 480, 32, 2, 64, 0);
    full_screen = 1;
    FrontEndTest::TearDown();
  }
};

TEST_F(OptionsTest, FiveEntersCycleTheMusicVolumeBackToZero) {
  std::vector<Key> k;
  for (int i = 0; i < 5; ++i) k.push_back({kKeyEnter, kReady + 100 + 150 * i, 80});  // each held over frames
  keys(k);
  std::vector<int> volumes;
  std::vector<std::string> texts;
  backend.set_present_hook([&](const Image& page, std::int64_t) {
    if (volumes.empty() || volumes.back() != audio_volume) volumes.push_back(audio_volume);
    for (const char* t : {"Music Volume: 0 %", "Music Volume: 25 %", "Music Volume: 50 %", "Music Volume: 75 %",
                          "Music Volume: 100 %"})
      if (text_shown(page, 270, 170, t, kLabel) && (texts.empty() || texts.back() != t)) texts.push_back(t);
  });
  EXPECT_FALSE(run_until(run_options, kReady + 1200));
  EXPECT_EQ(music_level, 0);
  EXPECT_EQ(sfx_level, 0);
  EXPECT_EQ(volumes, (std::vector<int>{0, 63, 126, 190, 255, 0}));
  EXPECT_EQ(texts, (std::vector<std::string>{"Music Volume: 0 %", "Music Volume: 25 %", "Music Volume: 50 %",
                                             "Music Volume: 75 %", "Music Volume: 100 %", "Music Volume: 0 %"}));
}

TEST_F(OptionsTest, HeldEnterStepsTheSoundVolumeOnceAndFullScreenSwitches) {
  keys({{kKeyDown, kReady + 100, 50}, {kKeyEnter, kReady + 300, 500}, {kKeyDown, kReady + 900, 50},
        {kKeyEnter, kReady + 1100, 50}});
  keep_last_page();
  EXPECT_FALSE(run_until(run_options, kReady + 1400));
  EXPECT_EQ(sfx_level, 1);
  EXPECT_EQ(music_level, 0);
  EXPECT_EQ(audio_volume, 63);
  EXPECT_EQ(full_screen, 2);
  EXPECT_TRUE(backend.full_screen());
  EXPECT_TRUE(text_shown(last, 270, 190, "Full Screen: YES", kLabel));
}

}  // namespace
