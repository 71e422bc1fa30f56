#include <sys/stat.h>

#include <array>
#include <csignal>
#include <fstream>

#include "files/high_score_file.h"
#include "screens/screens_test_support.h"

using namespace screens_test;

namespace {

using Table = std::vector<std::string>;
const Table kFour = {"ANNA", "BO", "CY", "DI", "5000", "4000", "3000", "2000"};

class HighScoresTest : public FrontEndTest {
 protected:
  void SetUp() override {
    FrontEndTest::SetUp();
    RoundState& s = round_state;  // as a round leaves it, faded out
    std::tie(s.fade_alpha, s.glow_pulse, s.glow_pulse_dir) = std::tuple(0, 200, 1);
    std::copy(std::begin(kFour), std::end(kFour), hs_lines + 1);
    ASSERT_TRUE(write_high_score_file());
    backend.set_present_hook([this](const Image& page, std::int64_t) {
      const bool table = text_shown(page, 285, 120, "TOP SCORES", 0xFF0275BE);
      const bool prompt = text_shown(page, 210, 200, "Record your top score (Y/N)?", kLabel);
      const bool name = text_shown(page, 200, 180, "Please input your name: ", kLabel);
      table_shown = table_shown || table;
      prompt_shown = prompt_shown || prompt;
      name_shown = name_shown || name;
      keyboard_amiss += backend.typing_wanted() ? table || prompt : name;
    });
  }
  bool table_shown = false, prompt_shown = false, name_shown = false;
  int keyboard_amiss = 0;  // pages that show the name entry without the keyboard, or another with it
  // Keys that record the score as "Z" when they are asked for.
  void record_keys() { keys({{kKeyY, 800, 100}, {kKeyEnter, 3900, 100}, {kKeyEnter, 5400, 100}}, {{'z', 2400}}); }
};

TEST_F(HighScoresTest, PlacesGoBelowEqualScoresAndTheFourthMustBeBeaten) {
  const float scores[] = {5000.0f, 4000.0f, 4000.0f, 2000.0f};
  std::copy(std::begin(scores), std::end(scores), hs_scores + 1);
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
  EXPECT_TRUE(table_shown && name_shown);
  EXPECT_EQ(keyboard_amiss, 0);
  EXPECT_FALSE(backend.typing_wanted());
  EXPECT_EQ(hs_name, "ABCDEFK");
  EXPECT_EQ(read_lines(), (Table{"ANNA", "BO", "ABCDEFK", "CY", "5000", "4000", "4000", "3000"}));
}

TEST_F(HighScoresTest, TheKeyboardIsLetGoWhenTheProgramEndsDuringTheNameEntry) {
  round_state.score = 9000;
  record_keys();
  EXPECT_FALSE(run_until(enter_high_score, 3000));  // the name entry is up from 1.6 s
  EXPECT_TRUE(name_shown);
  EXPECT_EQ(keyboard_amiss, 0);
  EXPECT_FALSE(backend.typing_wanted());
}

TEST_F(HighScoresTest, ATableThatCannotBeReplacedIsNotOfferedAndSurvivesByteForByte) {
  alarm(60);  // a blocking open ends the test instead of hanging it
  const auto table = std::filesystem::path(kHighScorePath);
  using std::filesystem::perms;
  const struct { const char* name; void (*make)(); } cases[] = {
      {"fifo", [] { mkfifo(kHighScorePath, 0644); }},
      {"symlink to /dev/zero", [] { std::filesystem::create_symlink("/dev/zero", kHighScorePath); }},
      {"unreadable", [] { std::ofstream(kHighScorePath, std::ios::binary) << "good"; std::filesystem::permissions(kHighScorePath, perms::none); }},
      {"read-only", [] { std::ofstream(kHighScorePath, std::ios::binary) << "good"; std::filesystem::permissions(kHighScorePath, perms::owner_read | perms::group_read | perms::others_read); }},
  };
  high_score_access = owner_access;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(table);
    c.make();
    const auto before = std::filesystem::symlink_status(table);
    round_state.score = 9000;
    prompt_shown = table_shown = false;
    record_keys();
    EXPECT_TRUE(run_until(enter_high_score, 8000));
    EXPECT_FALSE(prompt_shown || table_shown);
    const auto after = std::filesystem::symlink_status(table);
    EXPECT_EQ(std::pair(after.type(), after.permissions()), std::pair(before.type(), before.permissions()));
    if (after.type() == std::filesystem::file_type::regular) {
      std::filesystem::permissions(table, perms::owner_read);
      std::ifstream in(table, std::ios::binary);
      EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "good");
    }
  }
  high_score_access = ::access;
  EXPECT_EQ(stray_temp_files(), 0);
  alarm(0);
}

TEST_F(HighScoresTest, AScoreThatCannotBeSavedIsShownWithTheTableAndSaysSo) {
  std::filesystem::remove_all(kHighScoreFolder);
  std::ofstream{kHighScoreFolder} << "not a folder";  // no table can be written under it
  round_state.score = 9000;
  bool notice_with_entry = false;
  backend.set_present_hook([&](const Image& page, std::int64_t) {
    table_shown = table_shown || text_shown(page, 285, 120, "TOP SCORES", 0xFF0275BE);
    notice_with_entry = notice_with_entry ||
                        (text_shown(page, 176, 220, "The table could not be saved to disk", 0xFF0275BE) && hs_lines[1] == "Z");
  });
  record_keys();
  EXPECT_TRUE(run_until(enter_high_score, 8000));
  EXPECT_TRUE(table_shown && notice_with_entry);
  EXPECT_EQ(std::vector<std::string>(hs_lines + 1, hs_lines + 9), (Table{"Z", "", "", "", "9000", "0", "0", "0"}));
  std::ifstream in(kHighScoreFolder, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "not a folder");
}

}  // namespace
