#include <array>

#include "frontend/high_score_file.h"
#include "frontend_test_support.h"

using namespace frontend_test;

namespace {

using Table = std::vector<std::string>;
const Table kFour = {"ANNA", "BO", "CY", "DI", "5000", "4000", "3000", "2000"};

class HighScoresTest : public FrontEndTest {
 protected:
  void SetUp() override {
    FrontEndTest::SetUp();
    RoundState& s = round_state;  // as a round leaves it, faded out
    std::tie(s.fade_alpha, s.glow_pulse, s.glow_pulse_dir) = std::tuple(0, 200, 1);
    std::ranges::copy(kFour, hs_lines + 1);
    ASSERT_TRUE(write_high_score_file());
    backend.set_present_hook([this](const Image& page, std::int64_t) {
      table_shown = table_shown || text_shown(page, 285, 120, "TOP SCORES", 0xFF0275BE);
      prompt_shown = prompt_shown || text_shown(page, 210, 200, "Record your top score (Y/N)?", kLabel);
    });
  }
  bool table_shown = false, prompt_shown = false;
};

TEST_F(HighScoresTest, PlacesGoBelowEqualScoresAndTheFourthMustBeBeaten) {
  std::ranges::copy(std::array{5000.0f, 4000.0f, 4000.0f, 2000.0f}, hs_scores + 1);
  const std::pair<float, int> cases[] = {{1999, 0}, {2000, 0}, {2001, 4}, {4000, 4}, {4001, 2}, {5000, 2}, {5001, 1}};
  for (const auto& [score, place] : cases) EXPECT_EQ(high_score_place(score), place) << score;
}

TEST_F(HighScoresTest, ScoreEqualToTheFourthIsNotOfferedAndAnsweringNReturnsWithoutTheTable) {
  round_state.score = 2000;
  const std::int64_t frames_before = backend.frames_shown();
  EXPECT_TRUE(run_until(enter_high_score, 5000));
  EXPECT_EQ(std::pair(backend.frames_shown(), backend.now_us()), std::pair(frames_before, std::int64_t{0}));
  round_state.score = 9000;
  keys({{kKeyN, 800, 100}});
  EXPECT_TRUE(run_until(enter_high_score, 5000));
  EXPECT_TRUE(prompt_shown && !table_shown);
  EXPECT_EQ(round_state.fade_alpha, 0);
  EXPECT_EQ(read_lines(), kFour);
}

TEST_F(HighScoresTest, NameTakesEightCapitalsThenOnlyBackspaceAndEnterNeedsALetter) {
  round_state.score = 4000;  // equal to second place: goes third
  // 'q' comes during the prompt, the first ENTER before any letter.
  std::vector<Typed> typed = {{'q', 100}};
  std::int64_t t = 2320;
  const int codes[] = {'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 'i', 'j', 8, 8, '1', ' ', '!', 0xFF00 | kKeyLeft, 'k'};
  for (int c : codes) typed.push_back({static_cast<std::uint16_t>(c), t += 80});
  keys({{kKeyY, 800, 100}, {kKeyEnter, 2200}, {kKeyEnter, 3900, 100}, {kKeyEnter, 5400, 100}}, typed);
  EXPECT_TRUE(run_until(enter_high_score, 8000));
  EXPECT_TRUE(table_shown);
  EXPECT_EQ(hs_name, "ABCDEFK");
  EXPECT_EQ(read_lines(), (Table{"ANNA", "BO", "ABCDEFK", "CY", "5000", "4000", "4000", "3000"}));
}

}  // namespace
