// Whole rounds on the headless clock: the end sequences, the abort dialog, the frame-rate
// toggle and the clock standing still while the game is suspended.
#include "round/run_round.h"

#include <algorithm>
#include <vector>

#include "round/final_score.h"
#include "round_test_support.h"

using namespace round_test;

namespace {

struct Shown {
  std::int64_t us;
  int alpha;      // snapshot opacity read back from a white picture, -1 if none matches
  bool question;  // "Abort(Y/N)?" on the page
};

class RoundLoopTest : public RoundTest {
 protected:
  void SetUp() override {
    RoundTest::SetUp();
    platform_install(&backend);
    round_state.fps_sample_start = timer_seconds();
    score_frame = 0;
    // What a white picture at each snapshot opacity leaves on black.
    Image* white = gfx_image_create(8, 8);
    Image* black = gfx_image_create(8, 8);
    gfx_line(white, 0, 0, 7, 7, 0xFFFFFFFF, kLineFilledBox);
    for (int a = 0; a < 256; ++a) {
      gfx_line(black, 0, 0, 7, 7, 0xFF000000, kLineFilledBox);
      gfx_put(black, 0, 0, white, kPutBlend, a);
      alpha_of_pixel[a] = black->row(0)[0];
    }
    gfx_image_destroy(white);
    gfx_image_destroy(black);
    backend.set_present_hook([this](const Image& page, std::int64_t now_us) {
      const Colour c = page.row(100)[100];
      int alpha = -1;
      for (int a = 255; a >= 0 && alpha < 0; --a) alpha = alpha_of_pixel[a] == c ? a : -1;
      shown.push_back({now_us, alpha, text_matches(page, 280, 225, "Abort(Y/N)?", 0xFF0275BE)});
    });
  }

  // Runs the round until it returns (true) or the clock reaches stop_ms (false).
  bool run_until(std::int64_t stop_ms) {
    backend.set_stop_at_ms(stop_ms);
    try {
      run_round();
      return true;
    } catch (const ProgramExit&) {
      return false;
    }
  }

  // The opacities shown, with runs of equal values merged; the blank page shown before the
  // first frame is left out.
  std::vector<int> alpha_runs() const {
    std::vector<int> runs;
    for (const Shown& s : shown)
      if (!(runs.empty() && s.alpha < 0) && (runs.empty() || runs.back() != s.alpha))
        runs.push_back(s.alpha);
    return runs;
  }
  int question_frames() const {
    return static_cast<int>(std::count_if(shown.begin(), shown.end(), [](const Shown& s) { return s.question; }));
  }

  HeadlessPlatform backend;
  Colour alpha_of_pixel[256]{};
  std::vector<Shown> shown;
};

TEST_F(RoundLoopTest, GameOverEndsAfter201FramesAndEscapeCannotInterruptIt) {
  round_state.game_over = 1;
  round_state.energy = 0.0f;
  backend.set_script({down_at(0, kKeyEscape)});
  EXPECT_FALSE(run_until(12000));  // waiting on the final score
  EXPECT_EQ(round_state.end_anim, 1206);
  EXPECT_GT(score_frame, 0);
  EXPECT_EQ(question_frames(), 0);
}

TEST_F(RoundLoopTest, RoundOverEndsAfter241FramesWithAClosingFadeFrom255) {
  round_state.phase = 8;
  EXPECT_FALSE(run_until(12000));
  EXPECT_EQ(round_state.end_anim, 1205);
  EXPECT_GT(score_frame, 0);
  // The closing fade: 255 down to 15 by 15, over the last frame of the round.
  std::vector<int> fade;
  for (const Shown& s : shown)
    if (s.alpha >= 0 && s.alpha < 255) fade.push_back(s.alpha);
  ASSERT_GE(fade.size(), 16u);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(fade[i], 240 - 15 * i);
}

// N is heard before Y when both come at once.
TEST_F(RoundLoopTest, AbortDialogDimsAsksAndResumesOnN) {
  backend.set_script({down_at(500, kKeyEscape), up_at(600, kKeyEscape), down_at(4000, kKeyY),
                      down_at(4000, kKeyN), up_at(4100, kKeyY), up_at(4100, kKeyN)});
  EXPECT_FALSE(run_until(5000));
  // A page is shown by the frame after the one that drew it, so the black box laid over the last
  // question page before the resume shows as one black frame.
  EXPECT_EQ(alpha_runs(), (std::vector<int>{255, 240, 225, 210, 195, 180, 165, 150, 135, -1, 135,
                                            150, 165, 180, 195, 210, 225, 240, 255}));
  // Asked from the end of the dim until N: about 3.3 s at 41 frames a second.
  EXPECT_NEAR(question_frames(), 3.3 * 41, 10);
  // The clock stood still: the only second counted is the one the first frame after finds late.
  EXPECT_EQ(round_state.round_seconds, 1);
  EXPECT_EQ(round_state.phase, 0);
}

TEST_F(RoundLoopTest, AbortDialogAnsweredYesFadesOutFrom135AndLeavesWithoutAFinalScore) {
  backend.set_script({down_at(300, kKeyEscape), up_at(400, kKeyEscape), down_at(1500, kKeyY)});
  ASSERT_TRUE(run_until(20000));
  EXPECT_EQ(score_frame, 0);
  EXPECT_EQ(round_state.fade_alpha, 0);
  EXPECT_EQ(alpha_runs(), (std::vector<int>{255, 240, 225, 210, 195, 180, 165, 150, 135, 120, 105,
                                            90, 75, 60, 45, 30}));
  // The closing fade's pages come after the last question page; its ninth and last page (15)
  // is left on the drawing page for the next screen to show.
  ASSERT_GE(shown.size(), 9u);
  EXPECT_TRUE(shown[shown.size() - 9].question);
  for (std::size_t i = shown.size() - 8; i < shown.size(); ++i) EXPECT_FALSE(shown[i].question);
  EXPECT_EQ(gfx_page(gfx_work_page_index())->row(100)[100], alpha_of_pixel[15]);
}

TEST_F(RoundLoopTest, EscapeDuringRoundOverOpensTheDialogAndYesStillGivesTheFinalScore) {
  round_state.phase = 8;
  backend.set_script({down_at(1000, kKeyEscape), up_at(1100, kKeyEscape), down_at(2000, kKeyY),
                      up_at(2100, kKeyY)});
  EXPECT_FALSE(run_until(6000));
  EXPECT_GT(question_frames(), 0);
  EXPECT_LT(round_state.end_anim, 1200);
  EXPECT_GT(score_frame, 0);
}

// Releasing the arrow settles the turning direction; one press of F toggles the frame rate once
// and holds the game while it is down.
TEST_F(RoundLoopTest, ArrowReleaseAndTheFrameRateToggle) {
  backend.set_script({down_at(0, kKeyLeft), up_at(300, kKeyLeft), down_at(400, kKeyF), up_at(900, kKeyF)});
  EXPECT_FALSE(run_until(1200));
  EXPECT_NE(round_state.angle_deg, 90);
  EXPECT_EQ(round_state.rotate_dir, 1);
  EXPECT_EQ(round_state.show_fps, 1);
  std::int64_t longest_gap = 0;
  for (std::size_t i = 1; i < shown.size(); ++i) longest_gap = std::max(longest_gap, shown[i].us - shown[i - 1].us);
  EXPECT_GE(longest_gap, 450000);
}

}  // namespace
