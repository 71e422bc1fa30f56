// The command line: what parse_args accepts, and how the binary refuses bad input.
#include <gtest/gtest.h>

#include "headless/args.h"
#include "tools/runner_process.h"

namespace {

ArgsParse parse(const std::vector<const char*>& args) {
  std::vector<const char*> argv{"torvane-headless"};
  argv.insert(argv.end(), args.begin(), args.end());
  return parse_args(static_cast<int>(argv.size()), argv.data());
}

TEST(RunnerArgs, EveryOptionIsParsed) {
  const ArgsParse a = parse({"--script", "s.txt", "--until-ms", "3000", "--dump-frame", "500:a.png",
                             "--dump-frame", "0:dir/b:c.png", "--workdir", "/tmp", "--clock-origin",
                             "12.5"});
  ASSERT_EQ(a.error, "");
  EXPECT_EQ(a.options.script_path, "s.txt");
  EXPECT_EQ(a.options.until_ms, 3000);
  ASSERT_EQ(a.options.frame_dumps.size(), 2u);
  EXPECT_EQ(a.options.frame_dumps[0].at_ms, 500);
  EXPECT_EQ(a.options.frame_dumps[0].path, "a.png");
  EXPECT_EQ(a.options.frame_dumps[1].at_ms, 0);
  EXPECT_EQ(a.options.frame_dumps[1].path, "dir/b:c.png");  // only the first colon splits
  EXPECT_EQ(a.options.workdir, "/tmp");
  EXPECT_DOUBLE_EQ(a.options.clock_origin, 12.5);
  EXPECT_FALSE(a.options.help);

  const ArgsParse defaults = parse({});
  ASSERT_EQ(defaults.error, "");
  EXPECT_EQ(defaults.options.until_ms, -1);
  EXPECT_DOUBLE_EQ(defaults.options.clock_origin, 1000.0);
  EXPECT_TRUE(parse({"--help"}).options.help);
  EXPECT_EQ(parse({"--dump-assets", "out"}).options.dump_assets_dir, "out");
}

TEST(RunnerArgs, BadArgumentsAreNamed) {
  const std::pair<std::vector<const char*>, const char*> cases[] = {
      {{"--frobnicate"}, "unknown option '--frobnicate'"},
      {{"stray"}, "unexpected argument 'stray'"},
      {{"--until-ms"}, "--until-ms needs a value"},
      {{"--until-ms", "-3"}, "--until-ms '-3'"},
      {{"--until-ms", "1e3"}, "--until-ms '1e3'"},
      {{"--clock-origin", "soon"}, "--clock-origin 'soon'"},
      {{"--clock-origin", "nan"}, "--clock-origin 'nan'"},
      {{"--dump-frame", "500"}, "--dump-frame '500'"},
      {{"--dump-frame", "500:"}, "--dump-frame '500:'"},
      {{"--dump-frame", "x:a.png"}, "--dump-frame 'x:a.png'"},
      {{"--dump-frame", ":a.png"}, "--dump-frame ':a.png'"},
      {{"--script", "a", "--script", "b"}, "--script given twice"},
  };
  for (const auto& [args, message] : cases) {
    SCOPED_TRACE(message);
    const ArgsParse a = parse(args);
    EXPECT_NE(a.error.find(message), std::string::npos) << a.error;
  }
}

TEST(RunnerBinary, BadInputExitsWith2AndAMessageWithoutRunning) {
  const std::filesystem::path dir = fresh_temp_dir("bad_input");
  const std::filesystem::path bad_script = dir / "bad.txt";
  std::ofstream(bad_script) << "# keys\n100 tap ENTER\n250 down WARP\n";
  const std::filesystem::path bad_line = dir / "line.txt";
  std::ofstream(bad_line) << "100 tap ENTER\nsoon tap ESC\n";
  const std::string shot = (dir / "shot.png").string();

  const std::pair<std::string, std::string> cases[] = {
      {"--bogus", "unknown option '--bogus'"},
      {"--until-ms", "--until-ms needs a value"},
      {"--until-ms ten", "--until-ms 'ten'"},
      {"--script '" + (dir / "missing.txt").string() + "' --until-ms 100", "cannot read script file"},
      {"--script '" + bad_script.string() + "' --until-ms 100", "script line 3: unknown key 'WARP': 250 down WARP"},
      {"--script '" + bad_line.string() + "' --until-ms 100", "script line 2: time 'soon'"},
      {"--until-ms 100 --dump-frame 100-" + shot, "--dump-frame '100-"},
      {"--until-ms 100 --dump-frame '50:" + (dir / "nowhere" / "f.png").string() + "'", "does not exist"},
      {"--until-ms 100 --workdir '" + (dir / "nowhere").string() + "'", "cannot enter --workdir"},
  };
  for (const auto& [args, message] : cases) {
    SCOPED_TRACE(args);
    const ProcessResult r = run_headless_bin(args);
    EXPECT_EQ(r.exit_code, 2);
    EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");  // nothing ran, so no summary
  }
  EXPECT_FALSE(std::filesystem::exists(shot));
  std::filesystem::remove_all(dir);
}

TEST(RunnerBinary, HelpDescribesTheOptionsAndExitsZero) {
  const ProcessResult r = run_headless_bin("--help");
  EXPECT_EQ(r.exit_code, 0);
  for (const char* option : {"--script", "--until-ms", "--dump-frame", "--workdir", "--clock-origin", "--dump-assets"}) {
    EXPECT_NE(r.out.find(option), std::string::npos) << option;
  }
}

}  // namespace
