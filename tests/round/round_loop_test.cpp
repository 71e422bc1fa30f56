// Whole rounds on the headless clock: the end sequences, the abort dialog, and the clock
// standing still while the game is suspended.
#include "round/run_round.h"

#include <vector>

#include "round/final_score.h"
#include "round_test_support.h"

using namespace round_test;

namespace {

class RoundLoopTest : public RoundTest {
 protected:
  void SetUp() override {
    RoundTest::SetUp();
    platform_install(&backend);
    round_state.fps_sample_start = timer_seconds();
    score_frame = 0;
    backend.set_present_hook([this](const Image& page, std::int64_t) {
      // The snapshot's opacity: the one at which a white picture leaves that pixel on black.
      static Image *white = gfx_image_create(1, 1), *black = gfx_image_create(1, 1);
      gfx_pset(white, 0, 0, 0xFFFFFFFF);
      int alpha = 255;
      for (; alpha >= 0; --alpha) {
        gfx_pset(black, 0, 0, 0xFF000000);
        gfx_put(black, 0, 0, white, kPutBlend, alpha);
        if (black->row(0)[0] == page.row(100)[100]) break;
      }
      // Runs of equal opacities are merged; the blank page shown before the first frame is left out.
      if (alpha != (alphas.empty() ? -1 : alphas.back())) alphas.push_back(alpha);
      question_frames += text_matches(page, 280, 225, "Abort(Y/N)?", 0xFF0275BE);
      if (++frames_shown == lose_focus_at_frame) input_focus_lost();
    });
  }
  HeadlessPlatform backend;
  std::vector<int> alphas;  // -1: no snapshot opacity matches
  int question_frames = 0;
  int frames_shown = 0;
  int lose_focus_at_frame = -1;  // the window loses the focus as this frame is shown
};

TEST_F(RoundLoopTest, GameOverEndsAfter201FramesAndEscapeCannotInterruptIt) {
  round_state.game_over = 1;
  round_state.energy = 0.0f;
  backend.set_script({down_at(0, kKeyEscape)});
  backend.set_stop_at_ms(12000);
  EXPECT_THROW(run_round(), ProgramExit);  // stopped while waiting on the final score
  EXPECT_EQ(round_state.end_anim, 201 * 6);
  EXPECT_GT(score_frame, 0);
  EXPECT_EQ(question_frames, 0);
}

// Unlike a lost game, a finished round can still be paused while its banner slides in.
TEST_F(RoundLoopTest, RoundOverEndsAfter241FramesAndEscapeStillAsks) {
  round_state.phase = 8;
  backend.set_script({down_at(1000, kKeyEscape), up_at(1100, kKeyEscape), down_at(2500, kKeyN), up_at(2600, kKeyN)});
  backend.set_stop_at_ms(14000);
  EXPECT_THROW(run_round(), ProgramExit);
  EXPECT_EQ(round_state.end_anim, 241 * 5);
  EXPECT_GT(score_frame, 0);
  EXPECT_GT(question_frames, 0);
}

// The weapon is chosen before the trigger is read: 3 pressed with Space fires a blaster at once.
TEST_F(RoundLoopTest, AWeaponKeyPressedWithFireIsChosenBeforeTheShot) {
  round_state.blasters_ammo = 10;
  backend.set_script({down_at(0, kKey3), down_at(0, kKeySpace)});
  backend.set_stop_at_ms(100);
  EXPECT_THROW(run_round(), ProgramExit);
  ASSERT_GT(shot_count, 0);
  EXPECT_EQ(shots[0].weapon, 3);
}

// N is heard before Y when both come at once.
TEST_F(RoundLoopTest, AbortDialogDimsAsksAndResumesOnN) {
  backend.set_script({down_at(500, kKeyEscape), up_at(600, kKeyEscape), down_at(4000, kKeyY),
                      down_at(4000, kKeyN), up_at(4100, kKeyY), up_at(4100, kKeyN)});
  backend.set_stop_at_ms(5000);
  EXPECT_THROW(run_round(), ProgramExit);
  // A page is shown by the frame after the one that drew it, so the black box laid over the last
  // question page before the resume shows as one black frame.
  EXPECT_EQ(alphas, (std::vector<int>{255, 240, 225, 210, 195, 180, 165, 150, 135, -1, 135, 150, 165, 180, 195,
                                      210, 225, 240, 255}));
  // Asked from the end of the dim until N: about 3.3 s at 41 frames a second.
  EXPECT_NEAR(question_frames, 3.3 * 41, 10);
  // The clock stood still: the only second counted is the one the first frame after finds late.
  EXPECT_EQ((std::array{round_state.round_seconds, round_state.phase}), (std::array{1, 0}));
}

TEST_F(RoundLoopTest, AbortDialogAnsweredYesFadesOutFrom135AndLeavesWithoutAFinalScore) {
  backend.set_script({down_at(300, kKeyEscape), up_at(400, kKeyEscape), down_at(1500, kKeyY)});
  backend.set_stop_at_ms(20000);
  run_round();
  EXPECT_EQ((std::array{score_frame, round_state.fade_alpha}), (std::array{0, 0}));
  EXPECT_EQ(alphas, (std::vector<int>{255, 240, 225, 210, 195, 180, 165, 150, 135, 120, 105, 90, 75, 60, 45, 30}));
}

// Leaving the window mid-round asks the abort question, which holds the clock; a loss from
// before the round asks nothing.
TEST_F(RoundLoopTest, FocusLostDuringTheRoundAsksWhetherToAbortAndHoldsTheClock) {
  input_focus_lost();  // before the round: stale
  lose_focus_at_frame = 20;
  backend.set_script({down_at(4000, kKeyN), up_at(4100, kKeyN)});
  backend.set_stop_at_ms(5000);
  EXPECT_THROW(run_round(), ProgramExit);
  // Asked from the end of the dim (frame 20 plus 9) until N at 4 s.
  EXPECT_NEAR(question_frames, 4.0 * 41 - 29, 10);
  EXPECT_EQ(round_state.round_seconds, 1);
}

}  // namespace
