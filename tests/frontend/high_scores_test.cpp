#include <fstream>

#include "frontend/high_score_file.h"
#include "frontend/high_scores.h"
#include "frontend_test_support.h"

using namespace frontend_test;

namespace {

using Table = std::vector<std::string>;
const Table kFour = {"ANNA", "BO", "CY", "DI", "5000", "4000", "3000", "2000"};

class HighScoresTest : public FrontEndTest {
 protected:
  void SetUp() override {
    FrontEndTest::SetUp();
    round_state.fade_alpha = 0;  // as the round leaves it after its closing fade
    round_state.glow_pulse = 200;
    round_state.glow_pulse_dir = 1;
    std::copy(kFour.begin(), kFour.end(), hs_lines + 1);
    ASSERT_TRUE(write_high_score_file());
    backend.set_present_hook([this](const Image& page, std::int64_t) {
      table_shown = table_shown || text_shown(page, 285, 120, "TOP SCORES", 0xFF0275BE);
      prompt_shown = prompt_shown || text_shown(page, 210, 200, "Record your top score (Y/N)?", kLabel);
    });
  }
  Table table() {
    read_high_score_file();
    return {hs_lines + 1, hs_lines + 9};
  }
  bool table_shown = false, prompt_shown = false;
};

TEST_F(HighScoresTest, PlacesGoBelowEqualScoresAndTheFourthMustBeBeaten) {
  const float scores[] = {5000, 4000, 4000, 2000};
  std::copy(scores, scores + 4, hs_scores + 1);
  const std::pair<float, int> cases[] = {{1999, 0}, {2000, 0}, {2001, 4}, {4000, 4}, {4001, 2}, {5000, 2}, {5001, 1}};
  for (const auto& [score, place] : cases) EXPECT_EQ(high_score_place(score), place) << score;
}

TEST_F(HighScoresTest, InsertingMovesLowerPlacesDownAndRewritesTheScoreTexts) {
  std::copy(kFour.begin(), kFour.end(), hs_lines + 1);
  for (int k = 1; k <= 4; ++k) hs_scores[k] = static_cast<float>(6000 - 1000 * k);
  insert_high_score(2, "EVE", 12345678);
  EXPECT_EQ(Table(hs_lines + 1, hs_lines + 9), (Table{"ANNA", "EVE", "BO", "CY", "5000", "1.234568e+07", "4000", "3000"}));
  insert_high_score(4, "FAY", 1);
  EXPECT_EQ(Table(hs_lines + 1, hs_lines + 9), (Table{"ANNA", "EVE", "BO", "FAY", "5000", "1.234568e+07", "4000", "1"}));
}

TEST_F(HighScoresTest, ScoreEqualToTheFourthIsNotOffered) {
  round_state.score = 2000;
  const std::int64_t frames_before = backend.frames_shown();
  EXPECT_TRUE(run_until(enter_high_score, 5000));
  EXPECT_EQ(backend.frames_shown(), frames_before);
  EXPECT_EQ(backend.now_us(), 0);
  EXPECT_EQ(table(), kFour);
}

TEST_F(HighScoresTest, AnsweringNReturnsWithoutTheTableAndKeepsTheFile) {
  round_state.score = 9000;
  keys({{kKeyN, 800, 100}});
  EXPECT_TRUE(run_until(enter_high_score, 5000));
  EXPECT_TRUE(prompt_shown);
  EXPECT_FALSE(table_shown);
  EXPECT_EQ(round_state.fade_alpha, 0);
  EXPECT_EQ(table(), kFour);
}

TEST_F(HighScoresTest, NameTakesEightCapitalsThenOnlyBackspace) {
  round_state.score = 4000;  // equal to second place: goes third
  std::vector<Typed> typed;
  std::int64_t t = 2000;
  for (int c : std::vector<int>{'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 'i', 'j', 8, 8, '1', ' ', '!', 0xFF00 | kKeyLeft, 'k'})
    typed.push_back({static_cast<std::uint16_t>(c), t += 80});
  keys({{kKeyY, 800, 100}, {kKeyEnter, 3500, 100}, {kKeyEnter, 5000, 100}}, typed);
  EXPECT_TRUE(run_until(enter_high_score, 8000));
  EXPECT_TRUE(table_shown);
  EXPECT_EQ(hs_name, "ABCDEFK");
  EXPECT_EQ(table(), (Table{"ANNA", "BO", "ABCDEFK", "CY", "5000", "4000", "4000", "3000"}));
}

TEST_F(HighScoresTest, OnlyKeysOfTheNameEntryCountAndEnterNeedsALetter) {
  std::filesystem::remove_all("data");  // no table yet: it is written all the same
  round_state.score = 7;
  // 'q' comes during the prompt, the first ENTER before any letter.
  keys({{kKeyY, 800, 100}, {kKeyEnter, 2200, 100}, {kKeyEnter, 3000, 100}, {kKeyEnter, 4500, 100}},
       {{'q', 100}, {'z', 2600}});
  EXPECT_TRUE(run_until(enter_high_score, 8000));
  EXPECT_EQ(table(), (Table{"Z", "", "", "", "7", "0", "0", "0"}));
}

}  // namespace
