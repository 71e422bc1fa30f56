// A recording carries everything its game read at the start and after: played beside another
// high-score table, beside none, or with empty user folders it plays the same, and a replay
// leaves every file as it found it. Recordings stay small, and one cut short by a size limit
// plays up to its last checkpoint.
#include <map>

#include "e2e/e2e_support.h"

namespace fs = std::filesystem;

namespace {

const fs::path kGames = fs::path(TORVANE_SOURCE_DIR) / "tests" / "replays";

// data/hs.dat under dir with four names and scores, scrambled as the game writes it.
void write_table(const fs::path& dir, const std::vector<std::string>& lines) {
  fs::create_directories(dir / "data");
  std::string bytes;
  for (const std::string& line : lines) {
    for (std::size_t i = 0; i < line.size(); ++i) bytes += static_cast<char>(line[i] + "vantry"[i % 6]);
    bytes += "\r\n";
  }
  std::ofstream(dir / "data" / "hs.dat", std::ios::binary) << bytes;
}

void write_settings(const fs::path& xdg, const std::string& text) {
  fs::create_directories(xdg / "config" / "torvane");
  std::ofstream(xdg / "config" / "torvane" / "torvane.cfg") << text;
}

// Every file under dir with its bytes.
std::map<std::string, std::string> files_under(const fs::path& dir) {
  std::map<std::string, std::string> out;
  for (const auto& entry : fs::recursive_directory_iterator(dir))
    if (!entry.is_directory()) out[entry.path().string()] = read_file(entry.path());
  return out;
}

class ReplayStart : public ::testing::Test {
 protected:
  void TearDown() override { fs::remove_all(dir); }
  const fs::path dir = fresh_temp_dir(::testing::UnitTest::GetInstance()->current_test_info()->name());
};

TEST_F(ReplayStart, ARecordingPlaysTheSameBesideAnyTableAndSettingsAndTouchesNoFile) {
  const std::string lost =
      "--script '" + (kGames / "lost_round.script").string() + "' --rounds 1 --clock-origin 2000 --until-ms 400000";
  // Recorded beside a table the lost round beats, with settings of its own.
  write_table(dir / "rec", {"LOW", "LOWER", "LOWEST", "LAST", "100", "90", "80", "70"});
  write_settings(dir / "rec_xdg", "effects_volume = 50\nfull_screen = yes\n");
  const std::string file = (dir / "r.tvr").string();
  const ProcessResult rec = run_headless_bin(lost + " --workdir '" + (dir / "rec").string() + "' --record '" + file + "'",
                                             xdg_env(dir / "rec_xdg"));
  ASSERT_EQ(rec.exit_code, 0) << rec.err;
  ASSERT_EQ(high_score_lines(dir / "rec")[0], "LOST");  // the record was written while recording

  // Played beside a table it cannot beat and other settings, beside no table, and without
  // --workdir with empty user folders.
  write_table(dir / "other", {"TOP", "TOP", "TOP", "TOP", "900000", "900000", "900000", "900000"});
  write_settings(dir / "other_xdg", "music_volume = 100\neffects_volume = 0\nfull_screen = no\n");
  fs::create_directories(dir / "none");
  fs::create_directories(dir / "bare" / "xdg");
  fs::remove_all(dir / "rec");
  fs::remove_all(dir / "rec_xdg");
  const auto before = files_under(dir);
  const std::pair<std::string, std::string> places[] = {
      {"--workdir '" + (dir / "other").string() + "'", xdg_env(dir / "other_xdg")},
      {"--workdir '" + (dir / "none").string() + "'", xdg_env(dir / "none")},
      {"", "cd '" + (dir / "bare").string() + "' && " + xdg_env(dir / "bare" / "xdg")},
  };
  for (const auto& [where, env] : places) {
    SCOPED_TRACE(where + " " + env);
    const ProcessResult play = run_headless_bin("--play '" + file + "' " + where, env);
    EXPECT_EQ(play.exit_code, 0) << play.err;
    for (const char* key : {"frames", "score", "page_digest", "sound_digest"})
      EXPECT_EQ(json_field(play.out, key), json_field(rec.out, key)) << key;
  }
  EXPECT_EQ(files_under(dir), before);
}

// Fire tapped every 130 ms over a whole autoplayed round: the most input changes a round takes.
TEST_F(ReplayStart, AWholeRoundWithFireTappedEvery130MsTakesAtMost256KBAndReplays) {
  std::string script;
  for (int ms = 3000; ms < 500000; ms += 130) script += std::to_string(ms) + " tap SPACE\n";
  const std::string file = (dir / "tap.tvr").string();
  const ProcessResult rec = run_headless_bin("--autoplay --rounds 1 --script '" + write_script(dir, script) +
                                             "' --workdir '" + dir.string() + "' --record '" + file + "'");
  ASSERT_EQ(rec.exit_code, 0) << rec.err;
  ASSERT_EQ(json_field(rec.out, "phase"), "8");  // the round ran to its end
  EXPECT_LE(fs::file_size(file), 262144u);
  const ProcessResult play = run_headless_bin("--play '" + file + "'");
  EXPECT_EQ(play.exit_code, 0) << play.err;
  EXPECT_EQ(json_field(play.out, "page_digest"), json_field(rec.out, "page_digest"));
}

// Past the size limit the writes fail (no SIGXFSZ); the game goes on to its end, and what was
// written plays up to its last whole checkpoint.
TEST_F(ReplayStart, ARecordingCutShortByASizeLimitPlaysToItsLastCheckpoint) {
  const std::string file = (dir / "cut.tvr").string();
  const ProcessResult rec = run_headless_bin(
      "--script '" + (kGames / "lost_round.script").string() + "' --rounds 1 --clock-origin 2000 --until-ms 400000 --workdir '" + dir.string() +
          "' --record '" + file + "'",
      "ulimit -f 16 && " + xdg_env(dir));
  EXPECT_EQ(rec.exit_code, 1) << rec.err;
  EXPECT_EQ(json_field(rec.out, "phase"), "4");  // the game still went on to the final score
  EXPECT_NE(rec.err.find("the recording is cut short here"), std::string::npos) << rec.err;
  ASSERT_TRUE(fs::exists(file));
  EXPECT_LE(fs::file_size(file), 16u * 512u * 2u);
  const ProcessResult play = run_headless_bin("--play '" + file + "'");
  EXPECT_EQ(play.exit_code, 0) << play.err;
  const std::string frames = json_field(play.out, "frames");
  ASSERT_FALSE(frames.empty());
  EXPECT_GT(std::stoll(frames), 41);
  EXPECT_EQ(std::stoll(frames) % 41, 0);
  EXPECT_NE(play.err.find("recording cut short: played as recorded up to checkpoint frame " + frames + ","),
            std::string::npos)
      << play.err;
  EXPECT_EQ(play.err.find("damaged"), std::string::npos);
}

// Not even the header can be written: the session is refused (2) and leaves no FILE.part, in
// the headless runner and the window alike.
TEST_F(ReplayStart, ARecordingThatCannotStartLeavesNoPartFile) {
  const std::string file = (dir / "none.tvr").string();
  for (const std::string& binary : {std::string(TORVANE_HEADLESS_BIN), std::string(TORVANE_GAME_BIN)}) {
    const ProcessResult rec = run_headless_bin("--record '" + file + "'" + (binary == TORVANE_GAME_BIN ? "" : " --until-ms 1000"),
                                               "ulimit -f 0 && SDL_VIDEODRIVER=dummy " + xdg_env(dir), binary);
    EXPECT_EQ(rec.exit_code, 2) << binary;
    EXPECT_FALSE(fs::exists(file + ".part")) << binary;
    EXPECT_FALSE(fs::exists(file)) << binary;
  }
}

}  // namespace
