// Watching a recording with the viewer's keys: whatever is paused, stepped, sped up or sought,
// the game plays the same pages to the same end, and a jump shows the page of its checkpoint.
#include "e2e/e2e_support.h"

#include "replay/replay_format.h"

namespace {

const std::filesystem::path kGames = std::filesystem::path(TORVANE_SOURCE_DIR) / "tests" / "replays";

ProcessResult watch(const std::string& game, const std::string& keys, const std::string& more = "") {
  const std::filesystem::path dir = fresh_temp_dir("watch_" + game);
  const std::string script = write_script(dir, keys);
  const ProcessResult run = run_headless_bin("--play '" + (kGames / (game + ".tvr")).string() + "' --controls --script '" +
                                                 script + "' --workdir '" + dir.string() + "' " + more,
                                             xdg_env(dir));
  std::filesystem::remove_all(dir);
  return run;
}

std::uint64_t checkpoint_digest(const std::string& game, std::int64_t frame) {
  const ReplayParse parse = load_replay_file((kGames / (game + ".tvr")).string());
  std::int64_t seen = 0;
  for (const ReplayRecord& r : parse.data.records)
    if (r.kind == ReplayKind::Checkpoint && (seen += kReplayCheckpointFrames) == frame) return r.digest;
  return 0;
}

std::string hex(std::uint64_t v) {
  char text[20];
  std::snprintf(text, sizeof text, "\"%016llx\"", static_cast<unsigned long long>(v));
  return text;
}

TEST(PlaybackControls, PauseStepSpeedAndJumpsBothWaysEndOnThePagesAndScorePlayedStraight) {
  const std::string pinned = read_file(kGames / "round_keys.json");
  const ProcessResult run = watch("round_keys",
                                  "3000 tap SPACE\n4000 tap PERIOD\n4500 tap PERIOD\n5000 tap SPACE\n"
                                  "6000 tap PLUS\n6500 tap PLUS\n7000 tap MINUS\n7500 tap MINUS\n"
                                  "9000 tap RIGHT\n12000 tap LEFT\n12300 tap LEFT\n16000 tap HOME\n"
                                  "20000 tap RIGHT\n20300 tap RIGHT\n");
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(json_field(run.out, "page_digest"), json_field(pinned, "page_digest"));
  EXPECT_EQ(json_field(run.out, "score"), json_field(pinned, "score"));
  // Pausing, stepping and the bar touch no heap in the round; a jump back starts afresh.
  EXPECT_EQ(json_field(run.out, "alloc_count_in_rounds"), "0");
}

TEST(PlaybackControls, AJumpWhilePausedShowsThePageOfTheCheckpointItLandsOn) {
  // Paused near the start, then Right twice: 10 s, then 20 s in, still paused.
  const ProcessResult forward = watch("round_keys", "500 tap SPACE\n1000 tap RIGHT\n1500 tap RIGHT\n", "--until-ms 3000");
  ASSERT_EQ(forward.exit_code, 0) << forward.err;
  EXPECT_EQ(json_field(forward.out, "page_digest"), hex(checkpoint_digest("round_keys", 820)));
  // From there, Left goes back through a new start to 10 s.
  const ProcessResult back =
      watch("round_keys", "500 tap SPACE\n1000 tap RIGHT\n1500 tap RIGHT\n2000 tap LEFT\n", "--until-ms 3000");
  ASSERT_EQ(back.exit_code, 0) << back.err;
  EXPECT_EQ(json_field(back.out, "page_digest"), hex(checkpoint_digest("round_keys", 410)));
  // End lands on the last checkpoint.
  const ProcessResult end = watch("round_keys", "500 tap SPACE\n1000 tap END\n", "--until-ms 3000");
  ASSERT_EQ(end.exit_code, 0) << end.err;
  EXPECT_EQ(json_field(end.out, "page_digest"), hex(checkpoint_digest("round_keys", 1538 / 41 * 41)));
}

}  // namespace
