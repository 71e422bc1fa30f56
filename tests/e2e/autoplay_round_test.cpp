// A whole round played by the built-in player, from the menu through the final score and the
// high-score entry back to the menu.
#include "e2e/e2e_support.h"

namespace {

// The high-score file's lines, unscrambled ("vantry" added to each byte, CR LF ends).
std::vector<std::string> read_hs_file(const std::filesystem::path& path) {
  const std::string bytes = read_file(path);
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos) break;
    std::string line = bytes.substr(start, end - start);
    for (std::size_t i = 0; i < line.size(); ++i)
      line[i] = static_cast<char>(static_cast<unsigned char>(line[i]) - "vantry"[i % 6]);
    lines.push_back(line);
    start = end + 2;
  }
  return lines;
}

TEST(AutoplayedRound, FinishesTheRoundAndIsPaidTheThreeEndBonuses) {
  const std::filesystem::path dir = fresh_temp_dir("e2e_autoplay");
  std::filesystem::create_directories(dir / "data");
  // This origin's game is one the player finishes with energy to spare.
  const ProcessResult r =
      run_headless_bin("--autoplay --clock-origin 1548 --workdir '" + dir.string() + "'");
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const std::string top = top_level(r.out);
  EXPECT_EQ(json_number(top, "rounds"), 1);
  const std::vector<std::string> rounds = round_results(r.out);
  ASSERT_EQ(rounds.size(), 1u) << r.out;
  const std::string& round = rounds[0];

  EXPECT_EQ(json_number(round, "phase"), 8) << round;
  EXPECT_EQ(json_number(round, "game_over"), 0);
  // Phase 8 needs second 469 of play; it comes soon after when the player keeps up.
  EXPECT_GE(json_number(round, "round_seconds"), 469);
  EXPECT_LE(json_number(round, "round_seconds"), 490);
  const double energy = json_number(round, "energy");
  ASSERT_GT(energy, 0.0);
  const double before = json_number(round, "score_before_final");
  const double final_score = json_number(round, "final_score");
  EXPECT_GT(before, 0);
  EXPECT_EQ(final_score, before + 3000 + 4000 + 20 * std::ceil(energy)) << round;

  // The round made no heap allocation, and the run stopped in the menu right after it.
  EXPECT_EQ(json_number(top, "alloc_count_in_rounds"), 0);
  EXPECT_GT(json_number(top, "rss_kb"), 1000);
  EXPECT_GT(json_number(top, "startup_ms"), 0);
  EXPECT_LT(json_number(top, "virtual_ms") - json_number(round, "end_ms"), 30000);

  // The score was recorded under the name the player typed.
  const std::vector<std::string> lines = read_hs_file(dir / "data" / "hs.dat");
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[0], "AUTO");
  EXPECT_EQ(lines[4], std::to_string(static_cast<long>(final_score)));
  for (int place = 1; place < 4; ++place) {
    EXPECT_EQ(lines[place], "");
    EXPECT_EQ(lines[4 + place], "0");
  }
  std::filesystem::remove_all(dir);
}

}  // namespace
