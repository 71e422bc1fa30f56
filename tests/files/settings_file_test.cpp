// The settings file: what a text says, what a save writes, and files that are not what they
// should be. Also the high-score table's place, which follows the same folders.
#include <sys/stat.h>

#include <fstream>

#include "display/frame_pacing.h"
#include "files/high_score_file.h"
#include "files/settings_file.h"
#include "screens/options.h"
#include "screens/screens_test_support.h"
#include "system/safe_save.h"

using namespace screens_test;

namespace {

namespace fs = std::filesystem;

std::tuple<int, int, bool> fields(const Settings& s) { return {s.music_level, s.effects_level, s.full_screen}; }
TEST(SettingsText, ReadsEachPercentAndPassesOverWhatItCannotRead) {
  const int levels[] = {0, 1, 2, 3, 4};
  const char* percents[] = {"0", "25", "50", "75", "100"};
  for (int i = 0; i < 5; ++i) {
    const std::string text = std::string("music_volume = ") + percents[i] + "\neffects_volume=" + percents[4 - i] +
                             "\r\n  full_screen\t=  yes  \n";
    EXPECT_EQ(fields(parse_settings(text)), std::tuple(levels[i], levels[4 - i], true)) << text;
  }
  // Bad values keep what came before them; unknown keys, lines without "=" and junk are skipped.
  EXPECT_EQ(fields(parse_settings("music_volume = 75\nmusic_volume = 60\neffects_volume = 101\n"
                                  "effects_volume = -25\nmusic_volume = 50%\nfull_screen = yes\nfull_screen = Yes\n"
                                  "volume = 100\nmusic_volume\n=100\n\xff\xfe\x01")),
            std::tuple(3, 0, true));
  EXPECT_EQ(fields(parse_settings("full_screen = yes\nfull_screen = no")), std::tuple(0, 0, false));
  EXPECT_EQ(fields(parse_settings("")), std::tuple(0, 0, false));
  EXPECT_EQ(fields(parse_settings("\xEF\xBB\xBFmusic_volume = 50\n")), std::tuple(2, 0, false));  // a byte-order mark
}

TEST(SettingsText, KeepsOnlyAServerAddressAndANameTheServerWouldTake) {
  const Settings s = parse_settings("score_server = https://scores.example/x\nplayer_name = Ada1\n");
  EXPECT_STREQ(s.score_server, "https://scores.example/x");
  EXPECT_STREQ(s.player_name, "Ada1");
  for (const char* bad : {"score_server = ftp://x.example\n", "score_server = http://a b\n", "score_server = http://\n",
                          "player_name = <b>x</b>\n", "player_name = ABCDEFGHIJKLMNOPQ\n", "player_name = \n"}) {
    const Settings t = parse_settings(bad);
    EXPECT_STREQ(t.score_server, "") << bad;
    EXPECT_STREQ(t.player_name, "") << bad;
  }
  EXPECT_STREQ(parse_settings("player_name = ABCDEFGHIJKLMNOP\n").player_name, "ABCDEFGHIJKLMNOP");
  // Written back only when set: a player who never set them keeps the file as it was.
  char text[512];
  Settings plain;
  const std::string before(text, format_settings(plain, text, sizeof text));
  EXPECT_EQ(before.find("score_server"), std::string::npos);
  const std::string after(text, format_settings(s, text, sizeof text));
  EXPECT_STREQ(parse_settings(after).score_server, s.score_server);
  EXPECT_STREQ(parse_settings(after).player_name, s.player_name);
}

// Each case in a temporary home of its own.
class SettingsFileTest : public FrontEndTest {
 protected:
  fs::path cfg() const { return dir / "config" / "torvane" / "torvane.cfg"; }
};

TEST_F(SettingsFileTest, SavesIntoFoldersItMakesAndLoadsBack) {
  EXPECT_EQ(fields(load_settings()), std::tuple(0, 0, false));  // none yet: the defaults
  ASSERT_TRUE(save_settings({1, 3, true}));
  EXPECT_EQ(fields(load_settings()), std::tuple(1, 3, true));
  // When the new file cannot be written beside it, the save says so and the old file stays.
  save_steps.fsync = [](int) { return errno = EIO, -1; };
  EXPECT_FALSE(save_settings({0, 0, false}));
  save_steps.fsync = fsync;
  EXPECT_EQ(fields(load_settings()), std::tuple(1, 3, true));
  EXPECT_EQ(std::distance(fs::directory_iterator(cfg().parent_path()), {}), 1);  // no temporary file left
  // A dotfiles link stays a link, and a private file stays private.
  fs::create_directories(dir / "dotfiles");
  fs::rename(cfg(), dir / "dotfiles" / "torvane.cfg");
  fs::create_symlink(dir / "dotfiles" / "torvane.cfg", cfg());
  ASSERT_EQ(chmod((dir / "dotfiles" / "torvane.cfg").c_str(), 0600), 0);
  ASSERT_TRUE(save_settings({4, 0, false}));
  EXPECT_TRUE(fs::is_symlink(cfg()));
  EXPECT_EQ(fields(parse_settings(read_file(dir / "dotfiles" / "torvane.cfg"))), std::tuple(4, 0, false));
  EXPECT_EQ(fs::status(cfg()).permissions(), fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(SettingsFileTest, TheLongestServerAndNameTheOptionsKeepAreSavedWhole) {
  Settings longest = load_settings();  // (also where this test's file is)
  std::tie(longest.music_level, longest.effects_level, longest.full_screen) = std::tuple(4, 4, true);
  const std::string url = "https://" + std::string(247, 's');
  std::snprintf(longest.score_server, sizeof longest.score_server, "%s", url.c_str());
  std::snprintf(longest.player_name, sizeof longest.player_name, "%s", "ABCDEFGHIJKLMNOP");
  ASSERT_TRUE(save_settings(longest));
  const Settings back = load_settings();
  EXPECT_EQ(fields(back), std::tuple(4, 4, true));
  EXPECT_EQ(back.score_server, url);
  EXPECT_STREQ(back.player_name, "ABCDEFGHIJKLMNOP");
}

TEST_F(SettingsFileTest, AHugeFileADeviceOrAPipeInItsPlaceGivesTheDefaultsAtOnce) {
  fs::create_directories(cfg().parent_path());
  // Read only so far: a line past 16 KB is not seen.
  std::ofstream(cfg()) << "effects_volume = 75\n" << std::string(16384, '#') << "\nfull_screen = yes\n";
  EXPECT_EQ(fields(load_settings()), std::tuple(0, 3, false));
  fs::remove(cfg());
  fs::create_symlink("/dev/zero", cfg());
  EXPECT_EQ(fields(load_settings()), std::tuple(0, 0, false));
  fs::remove(cfg());
  ASSERT_EQ(mkfifo(cfg().c_str(), 0600), 0);
  EXPECT_EQ(fields(load_settings()), std::tuple(0, 0, false));
  // A save replaces the pipe with a real file.
  EXPECT_TRUE(save_settings({2, 2, false}));
  EXPECT_EQ(fields(load_settings()), std::tuple(2, 2, false));
}

TEST_F(SettingsFileTest, AltEnterSwitchesTheScreenAnywhereAndSavesIt) {
  use_settings(load_settings());
  input_full_screen_switch();
  begin_frame();
  end_frame();
  EXPECT_EQ(std::tuple(full_screen, backend.full_screen()), std::tuple(2, true));
  EXPECT_EQ(fields(load_settings()), std::tuple(0, 0, true));
  // Two presses within a frame come to nothing.
  input_full_screen_switch();
  input_full_screen_switch();
  begin_frame();
  end_frame();
  EXPECT_EQ(std::tuple(full_screen, backend.full_screen()), std::tuple(2, true));
  input_full_screen_switch();
  begin_frame();
  end_frame();
  EXPECT_EQ(std::tuple(full_screen, backend.full_screen()), std::tuple(1, false));
  EXPECT_EQ(fields(load_settings()), std::tuple(0, 0, false));
}

TEST_F(SettingsFileTest, TheHighScoreTableStaysInDataWhenItIsThereAndOtherwiseGoesToTheUsersFolder) {
  keep_high_scores_in_working_folder(false);
  EXPECT_EQ(high_score_location().file, (dir / "share" / "torvane" / "hs.dat").string());
  setenv("XDG_DATA_HOME", "relative/share", 1);  // not a place: the home's default instead
  const std::string old_home = getenv("HOME") ? getenv("HOME") : "";
  setenv("HOME", dir.c_str(), 1);
  EXPECT_EQ(high_score_location().folder, (dir / ".local" / "share" / "torvane").string());
  setenv("HOME", old_home.c_str(), 1);
  fs::create_directories("data");
  std::ofstream("data/hs.dat") << "";
  EXPECT_EQ(high_score_location().file, "data/hs.dat");
  fs::remove("data/hs.dat");
  keep_high_scores_in_working_folder(true);
  EXPECT_EQ(high_score_location().file, "data/hs.dat");
}

}  // namespace
