// Escape during a round: N goes back to the round, Y leaves it without a final score.
#include "e2e/e2e_support.h"

#include "headless/autoplay_screens.h"

namespace {

TEST(AbortDialog, NResumesTheRoundAndYLeavesItWithoutAFinalScore) {
  const std::filesystem::path dir = fresh_temp_dir("e2e_abort");
  const std::string script = write_script(dir,
                                          std::to_string(kMenuReadyMs) + " tap ENTER\n"
                                          "15000 tap ESC\n"
                                          "17000 tap N\n"
                                          "27000 tap ESC\n"
                                          "29000 tap Y\n");
  const std::filesystem::path asking = dir / "asking.png", resumed = dir / "resumed.png";
  const ProcessResult r = run_headless_bin(
      "--rounds 1 --until-ms 60000 --script '" + script + "' --workdir '" + dir.string() +
      "' --dump-frame '16500:" + asking.string() + "' --dump-frame '20000:" + resumed.string() + "'");
  ASSERT_EQ(r.exit_code, 0) << r.err;

  // The question is up while the round waits, and the round is back after N.
  EXPECT_TRUE(page_shows_text(load_page(asking), 280, 225, "Abort(Y/N)?", 0xFF0275BE));
  EXPECT_EQ(classify_screen(load_page(asking)).screen, Screen::Unknown);
  EXPECT_EQ(classify_screen(load_page(resumed)).screen, Screen::Round);

  // After Y the run stopped on the first settled menu frame: the 9-frame closing fade and the
  // menu's 17-frame fade-in, with no final-score screen (over 7 s) in between.
  const double stopped = json_number(top_level(r.out), "virtual_ms");
  EXPECT_GT(stopped, 29000 + 24 * 26 - 50);
  EXPECT_LT(stopped, 29000 + 24 * 26 + 300);
  const std::vector<std::string> rounds = round_results(r.out);
  ASSERT_EQ(rounds.size(), 1u) << r.out;
  const std::string& round = rounds[0];
  // The round clock went on after the first dialog: it stood still only while a dialog was
  // open, so from the start (about 3.5 s) to the second Escape it counted at least 20 s.
  EXPECT_GE(json_number(round, "round_seconds"), 20);
  EXPECT_LE(json_number(round, "round_seconds"), 24);
  EXPECT_LT(json_number(round, "phase"), 8);
  EXPECT_EQ(json_number(round, "game_over"), 0);
  EXPECT_EQ(json_number(round, "end_ms"), -1);
  // No tally: the score left the round as it was.
  EXPECT_EQ(json_number(round, "final_score"), json_number(round, "score_before_final"));
  EXPECT_FALSE(std::filesystem::exists(dir / "data" / "hs.dat"));
  std::filesystem::remove_all(dir);
}

}  // namespace
