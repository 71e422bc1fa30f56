// The final-score tally on the headless clock, with ENTER held from the start: the screen must
// run its whole count before it listens.
#include "round/final_score.h"

#include "round_test_support.h"

using namespace round_test;

namespace {

enum Line { kPressEnter, kFinished, kNoFinish, kNoEnergy, kLines };

using FinalScoreTest = RoundTest;

TEST_F(FinalScoreTest, TallyPaysCompletionRoundAndEnergyThenWaitsForEnter) {
  const struct {
    int phase;
    float energy;
    int seconds, start, final_score, percent, jump_from, done_sounds;
    int first[kLines];  // score_frame that first drew each line; -1 never, 0 not looked at
  } cases[] = {
      {8, 100.0f, 0, 5000, 14000, 100, 129, 1, {331, 161, -1, -1}},  // the 100th step jumps
      {8, 37.5f, 0, 0, 3000 + 4000 + 38 * 20, 100, 129, 0, {268, 161, -1, 0}},
      {3, 0.0f, 100, -25, -25 + 22 * 30, 22, 51, 1, {231, -1, 161, 211}},
      {7, 0.0f, 481, 0, 103 * 30, 103, 0, 0, {0, -1, 161, 0}},  // past 100 %, still no bonus
      {3, 0.0f, 468, 0, 100 * 30, 100, 0, 1, {231, -1, 161, 211}},  // a lost round's 100 % is no finish
      {3, 0.0f, 1000, 0, 213 * 30, 213, 0, 1, {243, -1, 161, 211}},  // ENTER waits for the last point
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.final_score);
    SetUp();
    HeadlessPlatform backend;
    platform_install(&backend);
    round_state.fade_alpha = score_frame = 0;  // as the round's closing fade leaves it
    round_state.phase = c.phase;
    round_state.energy = c.energy;
    round_state.round_seconds = c.seconds;
    round_state.score = c.start;
    const char* lines[kLines] = {"Press ENTER to continue", "Round Finished Bonus: + 4000",
                                 "Round Finished Bonus: None", "Remaining Energy Bonus: None"};
    const int line_y[kLines] = {250, 120, 120, 140};
    int first[kLines] = {-1, -1, -1, -1}, drawn_at = 0, jumped_to = -1;
    backend.set_script({down_at(0, kKeyEnter)});
    backend.set_present_hook([&](const Image& page, std::int64_t) {
      for (int l = 0; l < kLines; ++l)
        if (first[l] < 0 && text_matches(page, l == kPressEnter ? 240 : 210, line_y[l], lines[l], 0xFF9191FF))
          first[l] = drawn_at;
      if (drawn_at == c.jump_from && jumped_to < 0) jumped_to = score_frame;
      drawn_at = score_frame;
    });
    backend.set_stop_at_ms(120000);
    show_final_score();
    platform_install(nullptr);
    EXPECT_EQ((std::array{round_state.score, completion_percent}), (std::array{c.final_score, c.percent}));
    if (c.jump_from) { EXPECT_EQ(jumped_to, 141); }
    for (int l = 0; l < kLines; ++l)
      if (c.first[l]) { EXPECT_EQ(first[l], c.first[l]) << lines[l]; }
    if (c.first[kPressEnter] > 0) {  // ENTER was held all along: heard only once it is asked for
      EXPECT_EQ(score_frame, c.first[kPressEnter]);
      EXPECT_EQ(sounds_of(snd_tally_done), c.done_sounds);
    }
  }
}

}  // namespace
