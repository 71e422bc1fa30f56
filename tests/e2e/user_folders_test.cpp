// Where an ordinary (not portable) copy keeps its files: the settings under XDG_CONFIG_HOME,
// scores under XDG_DATA_HOME; each run here gets temporary ones.

#include "e2e/e2e_support.h"
#include "gfx/font8x8.h"

namespace {

namespace fs = std::filesystem;

// Labels are light blue (blended by the glow for all but the chosen one); the ground beneath
// them is dark: a glyph's pixels are bright in blue exactly where the font sets them.
bool shows_text(const Image& page, int x, int y, const std::string& text) {
  for (std::size_t i = 0; i < text.size(); ++i)
    for (int row = 0; row < 8; ++row)
      for (int col = 0; col < 8; ++col) {
        const bool set = font8x8[static_cast<unsigned char>(text[i])][row] & (0x80 >> col);
        const bool bright = (page.row(y + row)[x + static_cast<int>(i) * 8 + col] & 0xFF) >= 0xA0;
        if (set != bright) return false;
      }
  return true;
}

struct Home {
  fs::path dir = fresh_temp_dir("xdg_home");
  fs::path config = dir / "config", data = dir / "share", work = dir / "work";
  fs::path cfg = config / "torvane" / "torvane.cfg";
  Home() { fs::create_directories(work); }
  ~Home() { fs::remove_all(dir); }
  // Runs in work/ without --workdir, as a menu entry starts the game.
  ProcessResult run(const std::string& args) const {
    return run_headless_bin(args, "cd '" + work.string() + "' && XDG_CONFIG_HOME='" + config.string() +
                                      "' XDG_DATA_HOME='" + data.string() + "'");
  }
  // The options page, opened from the menu, shortly after it has faded in.
  Image options_page() const {
    const std::string keys = std::to_string(kMenuReadyMs) + " tap DOWN\n" + std::to_string(kMenuReadyMs + 300) + " tap ENTER\n";
    const ProcessResult r = run("--until-ms 5600 --script '" + write_script(dir, keys) + "' --dump-frame '5500:" +
                                (dir / "options.png").string() + "'");
    EXPECT_EQ(r.exit_code, 0) << r.err;
    return load_page(dir / "options.png");
  }
};

bool shows_settings(const Image& page, const char* music, const char* effects, const char* screen) {
  return shows_text(page, 270, 170, std::string("Music Volume: ") + music) &&
         shows_text(page, 270, 180, std::string("SFX Volume: ") + effects) &&
         shows_text(page, 270, 190, std::string("Full Screen: ") + screen);
}

TEST(UserFolders, AScoreFromAFolderWithoutDataGoesToTheUsersDataFolder) {
  const Home home;
  const ProcessResult r = home.run("--autoplay --rounds 1 --clock-origin 1000");
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_FALSE(fs::exists(home.work / "data"));
  // The reader wants the table at <dir>/data/hs.dat: hand it the user's copy that way.
  fs::create_directories(home.dir / "view" / "data");
  fs::copy_file(home.data / "torvane" / "hs.dat", home.dir / "view" / "data" / "hs.dat");
  const std::vector<std::string> lines = high_score_lines(home.dir / "view");
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[0], "AUTO");
}

TEST(UserFolders, OptionsChangedInOneRunAreSavedAndShownByTheNext) {
  const Home home;
  EXPECT_TRUE(shows_settings(home.options_page(), "0 %", "0 %", "NO"));  // no file: the defaults
  // Options; music up two steps, effects up one; down past the server and the name to Exit.
  // Each ENTER is let go before the next.
  const int t = kMenuReadyMs;
  std::string keys = std::to_string(t) + " tap DOWN\n" + std::to_string(t + 300) + " tap ENTER\n";
  const char* steps[] = {"ENTER", "ENTER", "DOWN", "ENTER", "DOWN", "DOWN", "DOWN", "DOWN", "ENTER"};
  for (int i = 0; i < 9; ++i) keys += std::to_string(t + 1800 + 300 * i) + " tap " + steps[i] + "\n";
  const ProcessResult r = home.run("--until-ms 9000 --script '" + write_script(home.dir, keys) + "'");
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(read_file(home.cfg), "music_volume = 50\neffects_volume = 25\nfull_screen = no\n");
  EXPECT_FALSE(fs::exists(home.cfg.string() + ".tmp"));
  EXPECT_TRUE(shows_settings(home.options_page(), "50 %", "25 %", "NO"));
}

}  // namespace
