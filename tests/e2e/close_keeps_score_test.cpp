// The window's close button, or a signal, after a finished game: at the tally, the record
// question and the name entry the score is kept first, under the name typed so far.
#include "e2e/e2e_support.h"

namespace {

namespace fs = std::filesystem;

// The recorded lost round's keys up to its end (its tally starts at 180 s and counts for two
// seconds), then what each case does.
std::string lost_round_then(const std::string& ending) {
  std::ifstream in(fs::path(TORVANE_SOURCE_DIR) / "tests" / "replays" / "lost_round.script");
  std::string keys, line;
  while (std::getline(in, line))
    if (line.empty() || line[0] == '#' || std::stol(line) < 176000) keys += line + "\n";
  return keys + ending;
}

// The close button, a closed terminal (SIGHUP), a logout (SIGTERM, then SIGHUP 50 ms later) and
// Ctrl+C all take the same path: the runner sends itself the real signals, which its handlers
// only note. Each ends the game within a second, with the whole tally kept first.
TEST(CloseKeepsScore, AClosedWindowOrATerminationRequestAtEveryScreenKeepsTheScoreFirst) {
  const std::pair<std::string, std::string> screens[] = {
      {"180500", "PLAYER"},                                          // mid-tally
      {"187000 tap ENTER\n189000", "PLAYER"},                        // the record question
      {"187000 tap ENTER\n189000 tap Y\n190000 type AB\n191000", "AB"},  // the name entry
  };
  // Ctrl+C at one screen: it is handled with the others.
  const std::string endings[] = {" close\n", " signal HUP\n", " signal TERM\n+50 signal HUP\n", " signal INT\n"};
  for (const auto& [screen, name] : screens) {
    for (const std::string& sent : endings) {
      if (sent == endings[3] && name != "AB") continue;
      const std::int64_t at = std::stoll(screen.substr(screen.rfind('\n') + 1));
      std::string ending = screen + sent;
      if (const std::size_t plus = ending.find("+50"); plus != std::string::npos)
        ending.replace(plus, 3, std::to_string(at + 50));
      const fs::path dir = fresh_temp_dir("close_keeps_score");
      const ProcessResult r = run_headless_bin("--clock-origin 2000 --until-ms 300000 --workdir '" + dir.string() +
                                               "' --script '" + write_script(dir, lost_round_then(ending)) + "'");
      EXPECT_EQ(r.exit_code, 0) << ending << r.err;
      EXPECT_NE(r.out.find("\"score\":1205"), std::string::npos) << ending << r.out;
      EXPECT_LT(std::stoll(r.out.substr(r.out.find("\"virtual_ms\":") + 13)), at + 1000) << ending;
      const std::vector<std::string> lines = high_score_lines(dir);
      ASSERT_EQ(lines.size(), 8u) << ending;
      EXPECT_EQ(std::pair(lines[0], lines[4]), std::pair(name, std::string("1205"))) << ending;
      fs::remove_all(dir);
    }
  }
}

}  // namespace
