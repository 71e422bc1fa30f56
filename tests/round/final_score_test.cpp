// The final-score tally on the headless clock, with ENTER held from the start: the screen must
// run its whole count before it listens.
#include "round/final_score.h"

#include <string>
#include <vector>

#include "round/hud.h"
#include "round_test_support.h"

using namespace round_test;

namespace {

struct Page {
  int drawn_at;  // score_frame of the frame that drew the page
  bool press_enter;
  bool finished_line;   // "Round Finished Bonus: + 4000"
  bool no_finish_line;  // "Round Finished Bonus: None"
  bool no_energy_line;  // "Remaining Energy Bonus: None"
  bool final_score;     // "SCORE: " with the score the screen ends on
};

class FinalScoreTest : public RoundTest {
 protected:
  void SetUp() override {
    RoundTest::SetUp();
    platform_install(&backend);
    round_state.fade_alpha = 0;  // as the round's closing fade leaves it
    backend.set_script({down_at(0, kKeyEnter)});
    backend.set_present_hook([this](const Image& page, std::int64_t) {
      const Colour ink = 0xFF9191FF;
      pages.push_back({last_frame, text_matches(page, 240, 250, "Press ENTER to continue", ink),
                       text_matches(page, 210, 120, "Round Finished Bonus: + 4000", ink),
                       text_matches(page, 210, 120, "Round Finished Bonus: None", ink),
                       text_matches(page, 210, 140, "Remaining Energy Bonus: None", ink),
                       text_matches(page, 210, 180, expected_score_text, ink)});
      last_frame = score_frame;
      frames_seen.push_back(score_frame);
    });
  }

  // Runs the screen to its end; returns the score it adds.
  int tally(int start_score, int expected_final) {
    round_state.score = start_score;
    expected_score_text = "SCORE: ";
    expected_score_text += pad_score(expected_final);
    expected_score_text += std::to_string(expected_final);
    backend.set_stop_at_ms(120000);
    show_final_score();
    return round_state.score - start_score;
  }
  int first_page_with(bool Page::*field) const {
    for (const Page& p : pages)
      if (p.*field) return p.drawn_at;
    return -1;
  }
  bool frames_jump(int from, int to) const {
    for (std::size_t i = 1; i < frames_seen.size(); ++i)
      if (frames_seen[i - 1] == from) return frames_seen[i] == to;
    return false;
  }

  HeadlessPlatform backend;
  std::vector<Page> pages;
  std::vector<int> frames_seen;
  int last_frame = 0;
  std::string expected_score_text;
};

TEST_F(FinalScoreTest, FinishedRoundPaysCompletionRoundAndEnergy) {
  round_state.phase = 8;
  round_state.energy = 100.0f;
  EXPECT_EQ(tally(5000, 14000), 3000 + 4000 + 2000);
  EXPECT_EQ(completion_percent, 100);
  EXPECT_EQ(energy_bonus_count, 100);
  EXPECT_TRUE(frames_jump(129, 141));  // the 100th step, in frame 130, jumps
  EXPECT_EQ(first_page_with(&Page::finished_line), 161);
  EXPECT_EQ(first_page_with(&Page::press_enter), 331);
  EXPECT_EQ(score_frame, 331);  // ENTER was held all along
  EXPECT_GT(first_page_with(&Page::final_score), 0);
  EXPECT_EQ(sounds_of(snd_tally), 200);
  EXPECT_EQ(sounds_of(snd_tally_done), 1);
}

TEST_F(FinalScoreTest, FractionalEnergyRoundsTheBonusUpAndNeverPlaysTheDoneSound) {
  round_state.phase = 8;
  round_state.energy = 37.5f;
  EXPECT_EQ(tally(0, 7760), 3000 + 4000 + 38 * 20);
  EXPECT_EQ(first_page_with(&Page::press_enter), 268);
  EXPECT_EQ(score_frame, 268);
  EXPECT_EQ(sounds_of(snd_tally_done), 0);
}

TEST_F(FinalScoreTest, LostRoundPaysOnlyTheCompletionRoundedUp) {
  round_state.phase = 3;
  round_state.energy = 0.0f;
  round_state.round_seconds = 100;
  EXPECT_EQ(tally(-25, 635), 22 * 30);
  EXPECT_EQ(completion_percent, 22);
  EXPECT_TRUE(frames_jump(51, 141));
  EXPECT_EQ(first_page_with(&Page::no_finish_line), 161);
  EXPECT_EQ(first_page_with(&Page::no_energy_line), 211);
  EXPECT_EQ(first_page_with(&Page::finished_line), -1);
  EXPECT_EQ(first_page_with(&Page::press_enter), 231);
  EXPECT_GT(first_page_with(&Page::final_score), 0);
  EXPECT_EQ(sounds_of(snd_tally), 22);
  EXPECT_EQ(sounds_of(snd_tally_done), 1);
}

TEST_F(FinalScoreTest, LostRoundCountsPastAHundredPercentWithoutTheRoundBonus) {
  round_state.phase = 7;
  round_state.energy = 0.0f;
  round_state.round_seconds = 481;
  EXPECT_EQ(tally(0, 3090), 103 * 30);
  EXPECT_EQ(completion_percent, 103);
  EXPECT_EQ(first_page_with(&Page::finished_line), -1);
  EXPECT_EQ(first_page_with(&Page::no_finish_line), -1);

  SetUp();
  round_state.phase = 2;
  round_state.round_seconds = 236;
  round_state.energy = 0.0f;
  EXPECT_EQ(tally(0, 1530), 51 * 30);
}

}  // namespace
