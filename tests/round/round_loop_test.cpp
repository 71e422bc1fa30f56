// Whole rounds on the headless clock: the end sequences, pausing, and the order in which a
// frame reads its keys. (The abort dialog's dimming and both answers are in the recorded games.)
#include "round/run_round.h"


#include "round/final_score.h"
#include "line/line_controls.h"
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
      question_frames += text_matches(page, 280, 225, "Abort(Y/N)?", 0xFF0275BE);
      if (++frames_shown == lose_focus_at_frame) input_focus_lost();
    });
  }
  HeadlessPlatform backend;
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

// Keys are read 1, 2, 3, so of several held the last wins; a weapon without ammunition gives
// way to the cannon.
TEST_F(RoundLoopTest, OfSeveralWeaponKeysTheLastWinsAndAnEmptyWeaponGivesWayToTheCannon) {
  for (auto [first, second, ammo, weapon] :
       {std::array{+kKey2, +kKey3, 5, 3}, {+kKey1, +kKey2, 5, 2}, {+kKey2, +kKey3, 0, 1}}) {
    SetUp();
    round_state.laser_ammo = round_state.blasters_ammo = ammo;
    hold(first);
    hold(second);
    select_weapon();
    EXPECT_EQ(round_state.weapon, weapon) << first << "+" << second;
  }
}

}  // namespace
