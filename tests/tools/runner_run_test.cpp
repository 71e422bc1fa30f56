// The built runner refuses bad input before anything runs. (Its summary line and frame dumps
// are read by the end-to-end tests; its games repeat exactly in every recorded game.)
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <chrono>

#include "headless/headless_platform.h"
#include "system/input.h"
#include "tools/runner_process.h"

namespace {

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
      {"--clock-origin 0x10", "--clock-origin '0x10'"},
      {"--clock-origin +5", "--clock-origin '+5'"},
      {"--script a --script b", "--script given twice"},
      {"--script " + path("missing.txt") + " --until-ms 100", "cannot read script file"},
      {"--script " + path("bad.txt") + " --until-ms 100", "script line 3: unknown key 'WARP': 250 down WARP"},
      {"--script " + path("line.txt") + " --until-ms 100", "script line 2: time 'soon'"},
      {"--until-ms 100 --dump-frame 500", "--dump-frame '500'"},
      {"--until-ms 100 --dump-frame x:a.png", "--dump-frame 'x:a.png'"},
      {"--until-ms 100 --dump-frame 50:" + path("nowhere/f.png"), "does not exist"},
      {"--until-ms 100 --workdir " + path("nowhere"), "cannot enter --workdir"},
      {"--dump-assets " + path("file/sub"), "cannot write assets into"},
      {"--autoplay --rounds 0", "--rounds '0'"},
      {"--autoplay --rounds 1.5", "--rounds '1.5'"},
      {"--rounds 2 --rounds 3", "--rounds given twice"},
      {"--autoplay --rounds 100001", "--rounds '100001'"},
      {"--dump-icon 15 " + path("i.png"), "--dump-icon needs a size from 16 to 1024"},
      {"--dump-icon 1025 " + path("i.png"), "--dump-icon needs a size from 16 to 1024"},
      // Clock origins a recording could not hold exactly.
      {"--clock-origin -1 --until-ms 100", "--clock-origin '-1' is not a number of seconds from 0 to 1e9"},
      {"--clock-origin 1000000001 --until-ms 100", "--clock-origin '1000000001'"},
      {"--clock-origin 2e12 --until-ms 100", "--clock-origin '2e12'"},
      // An option's value is never the next option.
      {"--record --help", "option --record needs a value, not the option '--help'"},
      {"--play --autoplay", "option --play needs a value, not the option '--autoplay'"},
      // A recording goes only to a new name or over a regular file, refused before the game.
      {"--until-ms 100 --record " + path(""), "is a folder"},
      {"--until-ms 100 --record " + path("fifo"), "is a FIFO"},
      {"--until-ms 100 --record " + path("null"), "is a device"},
      {"--until-ms 100 --record " + path("r.tvr"), "r.tvr.part' is a device"},  // written aside there
      {"--until-ms 100 --record " + path("nowhere/r.tvr"), "folder"},
  };
  ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);
  for (const char* node : {"null", "r.tvr.part"})
    ASSERT_EQ(mknod((dir / node).c_str(), S_IFCHR | 0666, makedev(1, 3)), 0) << "needs root";
  for (const auto& [args, message] : cases) {
    SCOPED_TRACE(args);
    const auto start = std::chrono::steady_clock::now();
    const ProcessResult r = run_headless_bin(args);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_EQ(r.exit_code, 2);
    EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");  // nothing ran, so no summary
  }
  struct stat st {};
  EXPECT_TRUE(::lstat((dir / "null").c_str(), &st) == 0 && S_ISCHR(st.st_mode));  // still the device
  EXPECT_FALSE(std::filesystem::exists(dir / "--help"));
}

// Paths on the command line are the starting folder's, not --workdir's.
TEST_F(RunnerRun, RelativePathsAreTakenFromWhereTheRunnerStarted) {
  std::filesystem::create_directories(dir / "work");
  std::ofstream(dir / "keys.txt") << "100 tap ENTER\n";
  const std::string in_dir = "cd '" + dir.string() + "' && ";
  const ProcessResult rec = run_headless_bin(
      "--script keys.txt --until-ms 2000 --dump-frame 1000:shot.png --workdir work --record r.tvr",
      in_dir + "XDG_CONFIG_HOME=x XDG_DATA_HOME=x");
  ASSERT_EQ(rec.exit_code, 0) << rec.err;
  EXPECT_TRUE(std::filesystem::exists(dir / "shot.png"));
  EXPECT_TRUE(std::filesystem::exists(dir / "r.tvr"));
  EXPECT_TRUE(std::filesystem::is_empty(dir / "work"));
  const ProcessResult play = run_headless_bin("--play r.tvr --workdir work", in_dir + "XDG_CONFIG_HOME=x");
  EXPECT_EQ(play.exit_code, 0) << play.err;
}

// A key scripted at T ms is down from the moment the virtual clock reaches T, even inside a
// longer sleep, and not a microsecond before.
TEST(RunnerScriptTimes, AnEventTakesEffectExactlyWhenTheClockReachesItsTime) {
  HeadlessPlatform backend(1000.0);
  backend.set_script({{0, ScriptEvent::Kind::Down, kKeyRight, 0},
                      {50, ScriptEvent::Kind::Down, kKeyLeft, 0},
                      {120, ScriptEvent::Kind::Up, kKeyLeft, 0}});
  EXPECT_TRUE(input_key_held(kKeyRight));  // time 0: before the first call
  backend.sleep_ms(49);
  EXPECT_FALSE(input_key_held(kKeyLeft));
  EXPECT_EQ(backend.now_seconds(), 1000.049);
  backend.sleep_ms(1);
  EXPECT_TRUE(input_key_held(kKeyLeft));
  backend.sleep_ms(100);  // past the release inside one sleep
  EXPECT_FALSE(input_key_held(kKeyLeft));
  input_key_event(kKeyRight, false);
}

}  // namespace
