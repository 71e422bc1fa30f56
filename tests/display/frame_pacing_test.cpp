// Frame pacing on a clock that can run late: the real-time path the virtual clock never takes.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <stdexcept>
#include <vector>

#include "display/frame_pacing.h"
#include "state/round_state.h"
#include "system/i_platform.h"
#include "system/input.h"

namespace {

// A clock the test sets by hand, and a sleep that only notes what it was asked for.
class LateClock final : public Platform {
 public:
  double now = 0.0;
  std::vector<int> sleeps;
  bool open_display(bool) override { return true; }
  void present(const Image&) override {}
  void pump_events() override {}
  double now_seconds() override { return now; }
  void sleep_ms(int ms) override {
    sleeps.push_back(ms);
    // A wait for a key would spin here for ever: fail instead.
    if (sleeps.size() > 100) throw std::runtime_error("the frame waits for a key press");
  }
  void set_mouse(int, int, int, int) override {}
};

class FramePacingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform_install(&clock);
    round_state = RoundState{};
    round_state.frame_start = 100.0;
  }
  void TearDown() override { platform_install(nullptr); }
  // The sleep asked for when the frame's work ends `spent` seconds after it started.
  int sleep_after(double spent) { return sleep_at(round_state.frame_start + spent); }
  int sleep_at(double now) {
    clock.now = now;
    clock.sleeps.clear();
    pace_frame();
    return clock.sleeps.size() == 1 ? clock.sleeps.back() : -99;  // one sleep, never a wait for a key
  }
  // A frame start and a clock reading that leave exactly `ms` of the frame. A .5 left over needs
  // readings fine enough to land on it, which only a frame ending close to the clock's origin
  // has, so the test looks there.
  double clock_leaving(double ms) {
    auto left = [](double now) { return (round_state.frame_start + kFramePeriod - now) * 1000.0; };
    for (int k = 0; k < 4096; ++k) {
      round_state.frame_start = 0.0037 - kFramePeriod + k * 1e-9;
      double now = round_state.frame_start + kFramePeriod - ms / 1000.0;
      for (int step = 0; step < 64 && left(now) != ms; ++step)
        now = std::nextafter(now, left(now) > ms ? 1e9 : -1e9);
      if (left(now) == ms) return now;
    }
    ADD_FAILURE() << "no clock reading leaves exactly " << ms << " ms";
    return 0.0;
  }
  LateClock clock;
};

TEST_F(FramePacingTest, SleepsOutTheRestOfTheFrameAtLeastOneMillisecondAndRoundsTiesToEven) {
  EXPECT_EQ((std::array{sleep_after(0.0), sleep_after(0.0200)}), (std::array{24, 4}));  // 24.39 and 4.39 ms left
  EXPECT_EQ((std::array{sleep_at(clock_leaving(2.5)), sleep_at(clock_leaving(3.5)), sleep_at(clock_leaving(0.5))}),
            (std::array{2, 4, 1}));
  // Late frames are not made up for, and a late frame never asks for 0 or -1 ms (a wait for
  // a key, which would freeze the game on a busy machine).
  EXPECT_EQ((std::array{sleep_after(kFramePeriod), sleep_after(kFramePeriod + 0.001), sleep_after(0.5)}),
            (std::array{1, 1, 1}));
}

TEST_F(FramePacingTest, TheRoundClockCountsOneSecondPerSampleHoweverLateTheFrameRuns) {
  RoundState& rs = round_state;
  rs.fps_sample_start = 100.0;
  clock.now = 101.0;  // not yet past the second
  sample_frame_rate();
  EXPECT_EQ((std::array{rs.round_seconds, rs.fps_frames}), (std::array{0, 1}));
  clock.now = 106.5;  // a stall of five seconds still counts one
  sample_frame_rate();
  EXPECT_EQ((std::array{rs.round_seconds, rs.fps, rs.fps_frames}), (std::array{1, 2, 0}));
  EXPECT_EQ(rs.fps_sample_start, 106.5);
}

}  // namespace
