// The options page's score server and player name: the edit line on the page, what it keeps,
// the save at once, and the client told of a server kept.
#include <fstream>

#include "display/screen_switch.h"
#include "files/settings_file.h"
#include "screens/options.h"
#include "screens/screens_test_support.h"

using namespace screens_test;

namespace {

namespace fs = std::filesystem;

const char* const kServerPrompt = "The score server's address, empty for none:";
const char* const kNamePrompt = "Your name, letters and digits, empty for none:";
const char* const kRefused = "Not kept: that is no http:// or https:// address";

// What the client was told, with the settings file as it was at that moment.
struct Told {
  std::string url, file;
};
std::vector<Told> told;
fs::path told_cfg;
void tell(const char* url) { told.push_back({url, read_file(told_cfg)}); }

class OptionsTest : public FrontEndTest {
 protected:
  void SetUp() override {
    FrontEndTest::SetUp();
    forget_screen_switch();
    use_settings(load_settings());  // also where this test's file is
    told.clear();
    told_cfg = cfg();
    tell_score_server_with(tell);
    backend.set_present_hook([this](const Image& page, std::int64_t) {
      const bool line = text_shown(page, 150, 245, kServerPrompt, kLabel) || text_shown(page, 150, 245, kNamePrompt, kLabel);
      refusal_shown = refusal_shown || text_shown(page, 150, 290, kRefused, kLabel);
      no_server_shown = no_server_shown || text_shown(page, 270, 200, "Score Server: none", kLabel);
      lines_shown += line;
      line_without_keyboard += line && !backend.typing_wanted();
      keyboard_without_line += !line && backend.typing_wanted();
      last = page;
    });
  }
  void TearDown() override {
    tell_score_server_with(nullptr);
    FrontEndTest::TearDown();
  }
  fs::path cfg() const { return dir / "config" / "torvane" / "torvane.cfg"; }

  // Keys as a player gives them from `at`, 300 ms apart: "v" DOWN, "e" ENTER, "x" ESC, "b"
  // BACKSPACE, and a text between quotes typed 10 ms a character (at most 15 wait at once).
  void play(std::int64_t at, const std::string& steps) {
    std::vector<Key> held;
    std::vector<Typed> typed;
    for (std::size_t i = 0; i < steps.size(); ++i, at += 300) {
      const char s = steps[i];
      if (s == 'v') held.push_back({kKeyDown, at, 100});
      if (s == 'e') held.push_back({kKeyEnter, at, 100}), typed.push_back({13, at});
      if (s == 'x') held.push_back({kKeyEscape, at, 100}), typed.push_back({27, at});
      if (s == 'b') held.push_back({kKeyBackspace, at, 60}), typed.push_back({8, at});
      if (s == '\'') {
        for (std::int64_t t = at; steps[++i] != '\''; t += 10) typed.push_back({static_cast<std::uint16_t>(steps[i]), t});
      }
    }
    keys(held, typed);
  }
  // The label of an item once the marker stands on it (lit), at item 4's or 5's place.
  bool lit_label(int item, const std::string& text) const { return text_shown(last, 270, 160 + 10 * item, text, kLabel); }

  bool refusal_shown = false, no_server_shown = false;
  int lines_shown = 0;
  // The page shown is the one drawn a frame before, and the line opens after its frame's page
  // is drawn: each opening shows two pages with the keyboard wanted before the line, each
  // closing one page of the line after the keyboard went.
  int line_without_keyboard = 0, keyboard_without_line = 0;
};

TEST_F(OptionsTest, AServerKeptIsSavedAtOnceAndHandedOnWhileARefusalAndEscChangeNothing) {
  // Down to the server; a bare host refused, DOWN (no move while the line is up), ESC; a key
  // typed before the line opens again, which is no part of it; a good address kept.
  play(1500, "vvve'scores.example'evx" "'q'e'http://127.0.0'" "'.1:9'e");
  EXPECT_FALSE(run_until(run_options, 7500));
  EXPECT_TRUE(refusal_shown);
  ASSERT_EQ(told.size(), 1u);
  EXPECT_EQ(told[0].url, "http://127.0.0.1:9");
  // The file had it before the client was told.
  EXPECT_EQ(told[0].file, "music_volume = 0\neffects_volume = 0\nfull_screen = no\nscore_server = http://127.0.0.1:9\n");
  EXPECT_STREQ(chosen_score_server(), "http://127.0.0.1:9");
  EXPECT_STREQ(load_settings().score_server, "http://127.0.0.1:9");
  EXPECT_TRUE(lit_label(4, "Score Server: http://127.0.0.1:9"));
  EXPECT_FALSE(settings_save_failed());
  EXPECT_GT(lines_shown, 20);
  EXPECT_LE(line_without_keyboard, 2);  // two closings
  EXPECT_LE(keyboard_without_line, 4);  // two openings
  EXPECT_FALSE(backend.typing_wanted());
}

TEST_F(OptionsTest, EscLeavesTheSettingAsItWasAndNothingIsSaved) {
  Settings set = load_settings();
  std::snprintf(set.score_server, sizeof set.score_server, "https://scores.example");
  use_settings(set);
  play(1500, "vvvebbb'http://other'x");
  EXPECT_FALSE(run_until(run_options, 5000));
  EXPECT_TRUE(told.empty());
  EXPECT_FALSE(fs::exists(cfg()));
  EXPECT_STREQ(chosen_score_server(), "https://scores.example");
  EXPECT_TRUE(lit_label(4, "Score Server: https://scores.example"));
  EXPECT_GT(lines_shown, 0);
  EXPECT_FALSE(backend.typing_wanted());
}

TEST_F(OptionsTest, AnEmptyLineClearsTheServerAndANameIsKeptInCapitalsWithoutTellingTheClient) {
  Settings set = load_settings();
  std::snprintf(set.score_server, sizeof set.score_server, "https://scores.example");
  std::snprintf(set.player_name, sizeof set.player_name, "OLD");
  use_settings(set);
  play(1500, "vvve" + std::string(22, 'b') + "e" "ve" "bbb'ada 7!'e");
  EXPECT_FALSE(run_until(run_options, 15000));
  ASSERT_EQ(told.size(), 1u);
  EXPECT_EQ(told[0].url, "");
  EXPECT_EQ(read_file(cfg()), "music_volume = 0\neffects_volume = 0\nfull_screen = no\nplayer_name = ADA7\n");
  EXPECT_STREQ(chosen_player_name(), "ADA7");
  EXPECT_STREQ(chosen_score_server(), "");
  EXPECT_TRUE(no_server_shown);
  EXPECT_TRUE(lit_label(5, "Player Name: ADA7"));
}

TEST_F(OptionsTest, TheEnterThatOpensTheLineKeepsNothingWhileItIsHeld) {
  // ENTER on the name held a second and a half, its repeats typed, "bo" typed meanwhile; then
  // a new press keeps it.
  keys({{kKeyDown, 1500}, {kKeyDown, 1800}, {kKeyDown, 2100}, {kKeyDown, 2400}, {kKeyEnter, 2700, 1500}, {kKeyEnter, 4800}},
       {{13, 2700}, {13, 3200}, {'b', 3300}, {13, 3400}, {'o', 3500}, {13, 3600}, {13, 4800}});
  bool typed_shown = false;
  backend.set_present_hook([&](const Image& page, std::int64_t) { typed_shown |= text_shown(page, 150, 260, "BO", kLabel); });
  EXPECT_FALSE(run_until(run_options, 5500));
  EXPECT_TRUE(typed_shown);
  EXPECT_STREQ(chosen_player_name(), "BO");
  EXPECT_EQ(read_file(cfg()), "music_volume = 0\neffects_volume = 0\nfull_screen = no\nplayer_name = BO\n");
  EXPECT_TRUE(told.empty());
}

TEST_F(OptionsTest, ALongServerIsCutWhereThePageEndsAndAFailedSaveIsShownWhileTheRunKeepsIt) {
  const std::string url = "https://scores.example.org/a/very/long/path/to/the/table";
  Settings set = load_settings();
  std::snprintf(set.score_server, sizeof set.score_server, "%s", url.c_str());
  use_settings(set);
  fs::create_directories(dir / "config");
  std::ofstream(cfg().parent_path()) << "not a folder";  // nothing can be saved under it
  play(1500, "vvvebbbb'able2'e");
  EXPECT_FALSE(run_until(run_options, 6000));
  const std::string kept = url.substr(0, url.size() - 4) + "able2";
  ASSERT_EQ(told.size(), 1u);
  EXPECT_EQ(told[0].url, kept);
  EXPECT_TRUE(settings_save_failed());
  EXPECT_TRUE(text_shown(last, 200, 230, "The settings could not be saved", kLabel));
  // 46 characters from x 270 reach the page's edge: 32 for the address, "..." among them.
  EXPECT_TRUE(lit_label(4, "Score Server: " + kept.substr(0, 29) + "..."));
}

}  // namespace
