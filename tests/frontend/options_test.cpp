#include "frontend/options.h"
#include "frontend_test_support.h"

using namespace frontend_test;

namespace {

// Entering the options fades the menu out and the options in: about 0.85 s before keys count.
constexpr int kReady = 1000;

class OptionsTest : public FrontEndTest {
 protected:
  void TearDown() override {
    if (full_screen == 2) gfx_open_screen(640, 480, 32, 2, 64, 0);
    full_screen = 1;
    FrontEndTest::TearDown();
  }
};

TEST_F(OptionsTest, FiveEntersCycleTheMusicVolumeBackToZeroAHeldOneStepsTheSoundOnceAndFullScreenSwitches) {
  music_level = sfx_level = audio_volume = 0;
  full_screen = 1;
  std::tie(round_state.glow_pulse, round_state.glow_pulse_dir) = std::tuple(250, 1);
  std::vector<Key> k = {{kKeyDown, kReady + 1000, 50}, {kKeyEnter, kReady + 1200, 500}, {kKeyDown, kReady + 1800, 50},
                        {kKeyEnter, kReady + 2000, 50}};
  for (int i = 0; i < 5; ++i) k.push_back({kKeyEnter, kReady + 100 + 150 * i, 80});  // each held over frames
  keys(k);
  std::vector<int> volumes;
  std::vector<std::string> texts;
  backend.set_present_hook([&](const Image& page, std::int64_t) {
    if (volumes.empty() || volumes.back() != audio_volume) volumes.push_back(audio_volume);
    for (const char* t :
         {"Music Volume: 0 %", "Music Volume: 25 %", "Music Volume: 50 %", "Music Volume: 75 %", "Music Volume: 100 %"})
      if (text_shown(page, 270, 170, t, kLabel) && (texts.empty() || texts.back() != t)) texts.push_back(t);
    last = page;
  });
  EXPECT_FALSE(run_until(run_options, kReady + 2300));
  EXPECT_EQ(volumes, (std::vector<int>{0, 63, 126, 190, 255, 0, 63}));
  EXPECT_EQ(texts, (std::vector<std::string>{"Music Volume: 0 %", "Music Volume: 25 %", "Music Volume: 50 %",
                                             "Music Volume: 75 %", "Music Volume: 100 %", "Music Volume: 0 %"}));
  EXPECT_EQ(std::tuple(music_level, sfx_level, full_screen, backend.full_screen()), std::tuple(0, 1, 2, true));
  EXPECT_TRUE(text_shown(last, 270, 190, "Full Screen: YES", kLabel));
}

}  // namespace
