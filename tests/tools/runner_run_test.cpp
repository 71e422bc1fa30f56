// The built runner refuses bad input before anything runs. (Its summary line and frame dumps
// are read by the end-to-end tests; its games repeat exactly in every recorded game.)
#include <gtest/gtest.h>

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
  };
  for (const auto& [args, message] : cases) {
    SCOPED_TRACE(args);
    const ProcessResult r = run_headless_bin(args);
    EXPECT_EQ(r.exit_code, 2);
    EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");  // nothing ran, so no summary
  }
}

}  // namespace
