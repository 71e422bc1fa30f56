// Whole runs of the built binary: the summary line, frame dumps and asset dumps.
#include <gtest/gtest.h>

#include <regex>

#include "tools/png_read.h"
#include "tools/runner_process.h"

namespace {

// The value of "key": in a one-line JSON object of numbers, or -1e300 when it is missing.
double json_number(const std::string& json, const std::string& key) {
  const std::regex pattern("\"" + key + "\":(-?[0-9.eE+-]+)");
  std::smatch m;
  if (!std::regex_search(json, m, pattern)) return -1e300;
  return std::stod(m[1]);
}

TEST(RunnerRun, UntilMsEndsTheRunWithOneSummaryLine) {
  const std::filesystem::path dir = fresh_temp_dir("until");
  std::ofstream(dir / "keys.txt") << "# a key the menu does not use\n100 tap F1  # help\n";
  const ProcessResult r = run_headless_bin("--until-ms 3000 --script '" + (dir / "keys.txt").string() +
                                           "' --workdir '" + dir.string() + "'");
  EXPECT_EQ(r.exit_code, 0) << r.err;
  ASSERT_FALSE(r.out.empty());
  EXPECT_EQ(r.out.back(), '\n');
  const std::string line = r.out.substr(0, r.out.size() - 1);
  EXPECT_EQ(line.find('\n'), std::string::npos) << "exactly one line: " << r.out;
  EXPECT_EQ(line.front(), '{');
  EXPECT_EQ(line.back(), '}');
  for (const char* key : {"virtual_ms", "frames", "cpu_us_p50", "cpu_us_p99", "cpu_us_max", "phase", "score",
                          "energy", "round_seconds", "game_over"}) {
    EXPECT_GT(json_number(line, key), -1e300) << key << " missing in " << line;
  }
  EXPECT_EQ(json_number(line, "virtual_ms"), 3000);
  // Each frame sleeps out 24 ms of the virtual clock (1/41 s rounded), so about 3000 / 24.
  const double frames = json_number(line, "frames");
  EXPECT_GE(frames, 115);
  EXPECT_LE(frames, 130);
  EXPECT_LE(json_number(line, "cpu_us_p50"), json_number(line, "cpu_us_p99"));
  EXPECT_LE(json_number(line, "cpu_us_p99"), json_number(line, "cpu_us_max") + 1);
  std::filesystem::remove_all(dir);
}

TEST(RunnerRun, DumpFrameWritesTheShownPageAsRgbaPng) {
  const std::filesystem::path dir = fresh_temp_dir("dump_frame");
  const std::filesystem::path early = dir / "early.png";
  const std::filesystem::path late = dir / "late.png";
  const ProcessResult r = run_headless_bin("--until-ms 1500 --dump-frame '0:" + early.string() +
                                           "' --dump-frame '1000:" + late.string() + "' --workdir '" +
                                           dir.string() + "'");
  EXPECT_EQ(r.exit_code, 0) << r.err;
  for (const auto& path : {early, late}) {
    SCOPED_TRACE(path.string());
    const Png png = read_png(path);
    EXPECT_EQ(png.width, 640);
    EXPECT_EQ(png.height, 480);
    EXPECT_TRUE(png.rgba_8bit);
    EXPECT_EQ(png.rgba.size(), 640u * 480u * 4u);
  }
  // The page shown at start, before anything is drawn, is the display's opaque black.
  const Png first = read_png(early);
  ASSERT_EQ(first.rgba.size(), 640u * 480u * 4u);
  bool all_opaque_black = true;
  for (std::size_t i = 0; i < first.rgba.size(); i += 4) {
    all_opaque_black = all_opaque_black && first.rgba[i] == 0 && first.rgba[i + 1] == 0 &&
                       first.rgba[i + 2] == 0 && first.rgba[i + 3] == 0xFF;
  }
  EXPECT_TRUE(all_opaque_black);
  std::filesystem::remove_all(dir);
}

// The round fields of a summary line: everything but the CPU figures.
std::string round_fields(const std::string& json) {
  const std::size_t from = json.find("\"phase\"");
  return from == std::string::npos ? "" : json.substr(from);
}

TEST(RunnerRun, ScriptedGameRepeatsExactlyAndFollowsTheClockOrigin) {
  const std::filesystem::path dir = fresh_temp_dir("repeat");
  std::ofstream(dir / "keys.txt") << "3000 tap ENTER  # start a game once the menu is up\n"
                                     "5000 down RIGHT\n7000 up RIGHT\n7000 down SPACE\n";
  auto run = [&](const std::string& origin, const std::string& png) {
    return run_headless_bin("--script '" + (dir / "keys.txt").string() + "' --until-ms 16000 --clock-origin " +
                            origin + " --dump-frame '15000:" + (dir / png).string() + "' --workdir '" +
                            dir.string() + "'");
  };
  const ProcessResult first = run("1000", "a.png");
  const ProcessResult again = run("1000", "b.png");
  const ProcessResult other = run("77.25", "c.png");
  for (const ProcessResult* r : {&first, &again, &other}) ASSERT_EQ(r->exit_code, 0) << r->err;

  // ENTER reached the menu: a game runs, with its energy and phase set.
  EXPECT_GT(json_number(first.out, "energy"), 0) << first.out;
  EXPECT_GE(json_number(first.out, "phase"), 1) << first.out;
  // Same keys, same clock: the same game, pixel for pixel.
  EXPECT_EQ(round_fields(first.out), round_fields(again.out));
  EXPECT_EQ(json_number(first.out, "frames"), json_number(again.out, "frames"));
  const std::string a = read_file(dir / "a.png");
  ASSERT_FALSE(a.empty());
  EXPECT_EQ(a, read_file(dir / "b.png"));
  // A new game seeds its randomness from the clock, so another origin plays another game.
  EXPECT_NE(a, read_file(dir / "c.png"));
  std::filesystem::remove_all(dir);
}

TEST(RunnerRun, DumpFrameNeverShownIsReported) {
  const std::filesystem::path dir = fresh_temp_dir("dump_late");
  const std::filesystem::path path = dir / "never.png";
  const ProcessResult r = run_headless_bin("--until-ms 200 --dump-frame '5000:" + path.string() + "' --workdir '" +
                                           dir.string() + "'");
  EXPECT_EQ(r.exit_code, 2);
  EXPECT_NE(r.err.find("no frame was shown at or after 5000 ms"), std::string::npos) << r.err;
  EXPECT_NE(r.out.find("\"virtual_ms\":200"), std::string::npos) << r.out;
  EXPECT_FALSE(std::filesystem::exists(path));
  std::filesystem::remove_all(dir);
}

TEST(RunnerRun, DumpAssetsWritesEveryGeneratedImage) {
  const std::filesystem::path dir = fresh_temp_dir("assets");
  const std::filesystem::path out = dir / "out" / "nested";  // created on the way
  const ProcessResult r = run_headless_bin("--dump-assets '" + out.string() + "'");
  EXPECT_EQ(r.exit_code, 0) << r.err;
  std::vector<std::pair<std::string, int>> expected;  // name, smallest side
  for (int i = 1; i <= 4; ++i) expected.push_back({"background_" + std::to_string(i) + ".png", 480});
  for (int i = 1; i <= 10; ++i) {
    expected.push_back({"ball_" + std::to_string(i) + ".png", 17});
    expected.push_back({"powerup_" + std::to_string(i) + ".png", 17});
  }
  ASSERT_EQ(expected.size(), 24u);
  for (const auto& [name, side] : expected) {
    SCOPED_TRACE(name);
    const Png png = read_png(out / name);
    ASSERT_FALSE(png.rgba.empty());
    if (side == 480) {
      EXPECT_EQ(png.width, 640);
      EXPECT_EQ(png.height, 480);
    } else {
      // Created 18x18; the generator recaptures them at 17x17.
      EXPECT_TRUE(png.width == 17 || png.width == 18) << png.width;
      EXPECT_EQ(png.width, png.height);
    }
  }
  std::size_t files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(out)) ++files;
  EXPECT_EQ(files, 24u);
  std::filesystem::remove_all(dir);
}

TEST(RunnerRun, DumpAssetsIntoAnUnwritablePlaceExitsWith2) {
  const std::filesystem::path dir = fresh_temp_dir("assets_bad");
  const std::filesystem::path file = dir / "plain_file";
  std::ofstream(file) << "not a folder";
  const ProcessResult r = run_headless_bin("--dump-assets '" + (file / "sub").string() + "'");
  EXPECT_EQ(r.exit_code, 2);
  EXPECT_NE(r.err.find("cannot write assets into"), std::string::npos) << r.err;
  std::filesystem::remove_all(dir);
}

}  // namespace
