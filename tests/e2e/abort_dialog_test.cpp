// Escape during a round: N goes back to the round, Y leaves it without a final score.
#include "e2e/e2e_support.h"

#include "headless/autoplay_screens.h"

namespace {

TEST(AbortDialog, NResumesTheRoundAndYLeavesItWithoutAFinalScore) {
  const GameRun run = run_game("abort", "--rounds 1 --until-ms 60000",
                               std::to_string(kMenuReadyMs) + " tap ENTER\n15000 tap ESC\n17000 tap N\n"
                                                              "27000 tap ESC\n29000 tap Y\n",
                               {{16500, "asking.png"}, {20000, "resumed.png"}});
  ASSERT_EQ(run.result.exit_code, 0) << run.result.err;

  // The question is up while the round waits, and the round is back after N.
  const Image asking = load_page(run.dir / "asking.png");
  EXPECT_TRUE(page_shows_text(asking, 280, 225, "Abort(Y/N)?", 0xFF0275BE));
  EXPECT_EQ(classify_screen(asking).screen, Screen::Unknown);
  EXPECT_EQ(classify_screen(load_page(run.dir / "resumed.png")).screen, Screen::Round);

  // After Y the run stopped on the first settled menu frame: the 9-frame closing fade and the
  // menu's 17-frame fade-in, with no final-score screen (over 7 s) in between.
  const double stopped = json_number(run.top, "virtual_ms");
  EXPECT_GT(stopped, 29000 + 24 * 26 - 50);
  EXPECT_LT(stopped, 29000 + 24 * 26 + 300);
  ASSERT_EQ(run.rounds.size(), 1u) << run.result.out;
  const std::string& round = run.rounds[0];
  // The round clock stood still only while a dialog was open, so from the start (about
  // 3.5 s) to the second Escape it counted at least 20 s.
  EXPECT_GE(json_number(round, "round_seconds"), 20);
  EXPECT_LE(json_number(round, "round_seconds"), 24);
  EXPECT_LT(json_number(round, "phase"), 8);
  EXPECT_EQ(json_number(round, "game_over"), 0);
  EXPECT_EQ(json_number(round, "end_ms"), -1);
  // No tally: the score left the round as it was, and nothing was recorded.
  EXPECT_EQ(json_number(round, "final_score"), json_number(round, "score_before_final"));
  EXPECT_FALSE(std::filesystem::exists(run.dir / "data" / "hs.dat"));
  std::filesystem::remove_all(run.dir);
}

}  // namespace
