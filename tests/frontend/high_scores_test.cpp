#include <fstream>

#include "frontend/high_score_file.h"
#include "frontend/high_scores.h"
#include "frontend_test_support.h"

using namespace frontend_test;

namespace {

std::string scrambled_line(std::string plain) {
  scramble_line(plain.data(), plain.size(), "vantry");
  return plain + "\r\n";
}

class HighScoresTest : public FrontEndTest {
 protected:
  void SetUp() override {
    FrontEndTest::SetUp();
    round_state.fade_alpha = 0;  // as the round leaves it after its closing fade
    round_state.glow_pulse = 200;
    round_state.glow_pulse_dir = 1;
  }
  void write_table(const std::vector<std::string>& plain) {
    std::filesystem::create_directories("data");
    std::ofstream out(kHighScorePath, std::ios::binary);
    for (const std::string& line : plain) out << scrambled_line(line);
  }
  std::vector<std::string> table() {
    read_high_score_file();
    return {hs_lines + 1, hs_lines + 9};
  }
  void watch_pages() {
    backend.set_present_hook([this](const Image& page, std::int64_t) {
      if (text_shown(page, 285, 120, "TOP SCORES", 0xFF0275BE)) table_shown = true;
      if (text_shown(page, 210, 200, "Record your top score (Y/N)?", 0xFF9191FF)) prompt_shown = true;
    });
  }
  // Y answers the prompt; then the keys of the name entry, one every 80 ms from 2 s on.
  void script_name(std::vector<ScriptEvent>& s, const std::vector<std::uint16_t>& keys,
                   std::int64_t enter_at) {
    press(s, kKeyY, 800, 100);
    std::int64_t t = 2000;
    for (std::uint16_t k : keys) type(s, k, t += 80);
    press(s, kKeyEnter, enter_at, 100);
    press(s, kKeyEnter, enter_at + 1500, 100);  // leaves the table
  }

  bool table_shown = false;
  bool prompt_shown = false;
  const std::vector<std::string> four = {"ANNA", "BO", "CY", "DI", "5000", "4000", "3000", "2000"};
};

TEST_F(HighScoresTest, PlacesGoBelowEqualScoresAndTheFourthMustBeBeaten) {
  hs_scores[1] = 5000;
  hs_scores[2] = 4000;
  hs_scores[3] = 4000;
  hs_scores[4] = 2000;
  EXPECT_EQ(high_score_place(2000), 0);
  EXPECT_EQ(high_score_place(1999), 0);
  EXPECT_EQ(high_score_place(2001), 4);
  EXPECT_EQ(high_score_place(4000), 4);
  EXPECT_EQ(high_score_place(4001), 2);
  EXPECT_EQ(high_score_place(5000), 2);
  EXPECT_EQ(high_score_place(5001), 1);
}

TEST_F(HighScoresTest, InsertingMovesLowerPlacesDownAndRewritesTheScoreTexts) {
  for (int i = 1; i <= 8; ++i) hs_lines[i] = four[i - 1];
  for (int k = 1; k <= 4; ++k) hs_scores[k] = static_cast<float>(6000 - 1000 * k);
  insert_high_score(2, "EVE", 12345678);
  EXPECT_EQ((std::vector<std::string>{hs_lines + 1, hs_lines + 9}),
            (std::vector<std::string>{"ANNA", "EVE", "BO", "CY", "5000", "1.234568e+07", "4000", "3000"}));
  insert_high_score(4, "FAY", 1);
  EXPECT_EQ(hs_lines[4], "FAY");
  EXPECT_EQ(hs_lines[8], "1");
  EXPECT_EQ(hs_lines[3], "BO");
}

TEST_F(HighScoresTest, ScoreEqualToTheFourthIsNotOffered) {
  write_table(four);
  round_state.score = 2000;
  watch_pages();
  const std::int64_t frames_before = backend.frames_shown();
  EXPECT_TRUE(run_until(enter_high_score, 5000));
  EXPECT_EQ(backend.frames_shown(), frames_before);
  EXPECT_EQ(backend.now_us(), 0);
  EXPECT_EQ(table(), four);
}

TEST_F(HighScoresTest, AnsweringNReturnsWithoutTheTableAndKeepsTheFile) {
  write_table(four);
  round_state.score = 9000;
  std::vector<ScriptEvent> s;
  press(s, kKeyN, 800, 100);
  backend.set_script(sorted(s));
  watch_pages();
  EXPECT_TRUE(run_until(enter_high_score, 5000));
  EXPECT_TRUE(prompt_shown);
  EXPECT_FALSE(table_shown);
  EXPECT_EQ(round_state.fade_alpha, 0);
  EXPECT_EQ(table(), four);
}

TEST_F(HighScoresTest, NameTakesEightCapitalsThenOnlyBackspace) {
  write_table(four);
  round_state.score = 4000;  // equal to second place: goes third
  std::vector<ScriptEvent> s;
  std::vector<std::uint16_t> keys;
  for (char c : std::string("abcdefghij")) keys.push_back(static_cast<std::uint16_t>(c));
  keys.insert(keys.end(), {8, 8, '1', ' ', '!', 0xFF00 | kKeyLeft, 'k'});
  script_name(s, keys, 3500);
  backend.set_script(sorted(s));
  watch_pages();
  EXPECT_TRUE(run_until(enter_high_score, 8000));
  EXPECT_TRUE(table_shown);
  EXPECT_EQ(hs_name, "ABCDEFK");
  EXPECT_EQ(table(), (std::vector<std::string>{"ANNA", "BO", "ABCDEFK", "CY", "5000", "4000",
                                               "4000", "3000"}));
}

TEST_F(HighScoresTest, EnterWithoutALetterDoesNothing) {
  round_state.score = 7;
  std::vector<ScriptEvent> s;
  press(s, kKeyY, 800, 100);
  press(s, kKeyEnter, 2200, 100);  // no letter yet: ignored
  type(s, 'z', 2600);
  press(s, kKeyEnter, 3000, 100);
  press(s, kKeyEnter, 4500, 100);
  backend.set_script(sorted(s));
  EXPECT_TRUE(run_until(enter_high_score, 8000));
  // No file and no "data" folder before: the table is written all the same.
  EXPECT_EQ(table(), (std::vector<std::string>{"Z", "", "", "", "7", "0", "0", "0"}));
}

TEST_F(HighScoresTest, KeysTypedBeforeTheNameEntryAreDropped) {
  round_state.score = 10;
  std::vector<ScriptEvent> s;
  type(s, 'q', 100);  // typed during the prompt
  script_name(s, {'m'}, 3000);
  backend.set_script(sorted(s));
  EXPECT_TRUE(run_until(enter_high_score, 8000));
  EXPECT_EQ(table()[0], "M");
}

// True when, around a text's place, exactly the pixels of `text` differ from the plain
// background: the text is there, whatever its translucent colour, and nothing else is.
bool ink_matches(const Image& page, float x, float y, std::string_view text) {
  Image* ink = gfx_image_create(640, 480);
  std::fill(ink->pixels.begin(), ink->pixels.end(), 0u);
  gfx_draw_text(ink, x, y, text, 0xFFFFFFFF);
  const Colour background = page.row(100)[5];
  bool same = true;
  const int left = static_cast<int>(x), top = static_cast<int>(y);
  for (int yy = top; yy < top + 8; ++yy)
    for (int xx = left; xx < left + 64; ++xx)
      same = same && ((page.row(yy)[xx] != background) == (ink->row(yy)[xx] != 0u));
  gfx_image_destroy(ink);
  return same;
}

TEST_F(HighScoresTest, TableShowsNamesAndScoresWithOnlyTheirPrintableCharacters) {
  write_table({"ANNA", "B\x01O", "", "", "5000", "40\x7F", "", ""});
  round_state.fade_alpha = 255;
  Image last;
  backend.set_present_hook([&](const Image& page, std::int64_t) { last = page; });
  EXPECT_FALSE(run_until(show_high_scores, 1500));
  EXPECT_TRUE(text_shown(last, 285, 120, "TOP SCORES", 0xFF0275BE));
  EXPECT_TRUE(text_shown(last, 190, 270, "Press ENTER to return to main menu", 0xFF0275BE));
  EXPECT_TRUE(ink_matches(last, 270, 152, "ANNA"));
  EXPECT_TRUE(ink_matches(last, 270, 164, "BO"));
  EXPECT_TRUE(ink_matches(last, 340, 152, "5000"));
  EXPECT_TRUE(ink_matches(last, 340, 164, "40"));
  EXPECT_TRUE(ink_matches(last, 270, 176, ""));
  EXPECT_FALSE(ink_matches(last, 270, 152, "ANN"));  // the probe itself can tell texts apart
}

}  // namespace
