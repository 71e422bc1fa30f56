// The built runner: how it refuses bad input, the summary line, frame dumps,
// repeatable scripted games and asset dumps.
#include <gtest/gtest.h>

#include <regex>

#include "tools/png_read.h"
#include "tools/runner_process.h"

namespace {

// The value of "key" in a one-line JSON object of numbers, or -1e300 when it is missing.
double json_number(const std::string& json, const std::string& key) {
  std::smatch m;
  if (!std::regex_search(json, m, std::regex("\"" + key + "\":(-?[0-9.eE+-]+)"))) return -1e300;
  return std::stod(m[1]);
}

class RunnerRun : public ::testing::Test {
 protected:
  void TearDown() override { std::filesystem::remove_all(dir); }
  std::string path(const std::string& name) const { return std::string(1, '\'').append((dir / name).string()).append(1, '\''); }
  const std::filesystem::path dir = fresh_temp_dir(::testing::UnitTest::GetInstance()->current_test_info()->name());
};

TEST_F(RunnerRun, BadInputExitsWith2AndAMessageWithoutRunning) {
  std::ofstream(dir / "bad.txt") << "# keys\n100 tap ENTER\n250 down WARP\n";
  std::ofstream(dir / "line.txt") << "100 tap ENTER\nsoon tap ESC\n";
  std::ofstream(dir / "file") << "not a folder";
  const std::pair<std::string, std::string> cases[] = {
      {"--bogus", "unknown option '--bogus'"},
      {"stray", "unexpected argument 'stray'"},
      {"--until-ms", "--until-ms needs a value"},
      {"--until-ms -3", "--until-ms '-3'"},
      {"--until-ms 1e3", "--until-ms '1e3'"},
      {"--clock-origin nan", "--clock-origin 'nan'"},
      {"--script a --script b", "--script given twice"},
      {"--script " + path("missing.txt") + " --until-ms 100", "cannot read script file"},
      {"--script " + path("bad.txt") + " --until-ms 100", "script line 3: unknown key 'WARP': 250 down WARP"},
      {"--script " + path("line.txt") + " --until-ms 100", "script line 2: time 'soon'"},
      {"--until-ms 100 --dump-frame 500", "--dump-frame '500'"},
      {"--until-ms 100 --dump-frame x:a.png", "--dump-frame 'x:a.png'"},
      {"--until-ms 100 --dump-frame 50:" + path("nowhere/f.png"), "does not exist"},
      {"--until-ms 100 --workdir " + path("nowhere"), "cannot enter --workdir"},
      {"--dump-assets " + path("file/sub"), "cannot write assets into"},
  };
  for (const auto& [args, message] : cases) {
    SCOPED_TRACE(args);
    const ProcessResult r = run_headless_bin(args);
    EXPECT_EQ(r.exit_code, 2);
    EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");  // nothing ran, so no summary
  }
}

TEST_F(RunnerRun, DumpFrameWritesShownPagesAsRgbaPngAndReportsOnesNeverShown) {
  const ProcessResult r = run_headless_bin("--until-ms 1500 --dump-frame 0:" + path("early.png") + " --dump-frame 1000:" +
                                           path("late:1.png") + " --dump-frame 5000:" + path("never.png"));
  EXPECT_EQ(r.exit_code, 2);
  EXPECT_NE(r.err.find("no frame was shown at or after 5000 ms"), std::string::npos) << r.err;
  EXPECT_EQ(json_number(r.out, "virtual_ms"), 1500);
  EXPECT_FALSE(std::filesystem::exists(dir / "never.png"));
  const Png late = read_png(dir / "late:1.png");  // only the first colon splits
  EXPECT_EQ(late.width * late.height, 640 * 480);
  EXPECT_TRUE(late.rgba_8bit);
  // The page shown at start, before anything is drawn, is the display's opaque black.
  const Png early = read_png(dir / "early.png");
  std::vector<png_byte> black(640 * 480 * 4, 0);
  for (std::size_t i = 3; i < black.size(); i += 4) black[i] = 0xFF;
  EXPECT_TRUE(early.rgba == black);
}

TEST_F(RunnerRun, DumpAssetsWritesTheTwentyFourGeneratedImages) {
  const ProcessResult r = run_headless_bin("--dump-assets " + path("out/nested"));  // folders made on the way
  ASSERT_EQ(r.exit_code, 0) << r.err;
  std::vector<std::string> names;
  for (int i = 1; i <= 10; ++i)
    for (const std::string kind : {"background_", "ball_", "powerup_"})
      if (i <= 4 || kind != "background_") names.push_back(kind + std::to_string(i) + ".png");
  for (const std::string& name : names) {
    const Png png = read_png(dir / "out" / "nested" / name);
    const bool background = name.starts_with("background_");
    // Sprites are created 18x18; the generator recaptures them at 17x17.
    EXPECT_TRUE(background ? png.width == 640 && png.height == 480 : png.width == png.height && (png.width == 17 || png.width == 18))
        << name << " " << png.width << "x" << png.height;
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "out" / "nested"), {}), 24);
}

}  // namespace
