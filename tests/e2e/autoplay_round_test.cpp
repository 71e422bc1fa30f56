// A whole round played by the built-in player, from the menu through the final score and the
// high-score entry back to the menu.
#include "e2e/e2e_support.h"

namespace {

TEST(AutoplayedRound, FinishesTheRoundAndIsPaidTheThreeEndBonuses) {
  // This origin's game is one the player finishes with energy to spare.
  const GameRun run = run_game("autoplay", "--autoplay --clock-origin 1548");
  ASSERT_EQ(run.result.exit_code, 0) << run.result.err;
  EXPECT_EQ(json_number(run.top, "rounds"), 1);
  ASSERT_EQ(run.rounds.size(), 1u) << run.result.out;
  const std::string& round = run.rounds[0];
  EXPECT_EQ(json_number(round, "phase"), 8) << round;
  EXPECT_EQ(json_number(round, "game_over"), 0);
  // Phase 8 needs second 469 of play; it comes soon after when the player keeps up.
  EXPECT_GE(json_number(round, "round_seconds"), 469);
  EXPECT_LE(json_number(round, "round_seconds"), 490);
  const double energy = json_number(round, "energy");
  ASSERT_GT(energy, 0.0);
  const double before = json_number(round, "score_before_final"), final_score = json_number(round, "final_score");
  EXPECT_GT(before, 0);
  EXPECT_EQ(final_score, before + 3000 + 4000 + 20 * std::ceil(energy)) << round;

  // The round made no heap allocation, and the run stopped in the menu right after it.
  EXPECT_EQ(json_number(run.top, "alloc_count_in_rounds"), 0);
  EXPECT_LT(json_number(run.top, "virtual_ms") - json_number(round, "end_ms"), 30000);

  // The score was recorded under the name the player typed, above three empty places.
  const std::vector<std::string> expected = {"AUTO", "", "", "", std::to_string(static_cast<long>(final_score)),
                                             "0",    "0", "0"};
  EXPECT_EQ(high_score_lines(run.dir), expected);
  std::filesystem::remove_all(run.dir);
}

}  // namespace
