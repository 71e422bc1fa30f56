// A round nobody plays: the energy runs out, "G A M E" / "O V E R" slides in, the final score
// counts the completion only, and the score goes into the scrambled high-score file.
#include "e2e/e2e_support.h"

#include "gfx/font8x8.h"
#include "headless/autoplay_screens.h"

namespace {

// ENTER starts the game; then, every two seconds, Y (the record prompt), the name, ENTER. In
// a round none of these keys does anything. The name entry empties its key buffer as it
// opens, after the Y that opened it, and the name is typed 500 ms later.
std::string lost_round_script() {
  std::string s = std::to_string(kMenuReadyMs) + " tap ENTER\n";
  for (int t = 10000; t < 1200000; t += 2000)
    s += std::to_string(t) + " tap Y\n" + std::to_string(t + 500) + " type LOST\n" + std::to_string(t + 1000) +
         " tap ENTER\n";
  return s;
}

// The banner is drawn translucent (0xC8BBF9FF), so its glyph pixels are a light violet
// whatever lies under them, and most pixels around the glyphs are not.
bool violet_text_at(const Image& page, int x, int y, std::string_view text) {
  int glyph = 0, violet_glyph = 0, violet_around = 0;
  for (std::size_t i = 0; i < text.size(); ++i)
    for (int row = 0; row < 8; ++row)
      for (int col = 0; col < 8; ++col) {
        const Colour c = page.row(y + row)[x + static_cast<int>(i) * 8 + col];
        const bool violet = ((c >> 16) & 0xFF) >= 140 && ((c >> 8) & 0xFF) >= 140 && (c & 0xFF) >= 190;
        const bool set = font8x8[static_cast<unsigned char>(text[i])][row] & (0x80 >> col);
        glyph += set;
        violet_glyph += set && violet;
        violet_around += !set && violet;
      }
  return glyph > 0 && violet_glyph == glyph && violet_around * 2 < static_cast<int>(text.size()) * 64 - glyph;
}

TEST(LostRound, EnergyRunsOutThenCompletionOnlyAndTheNameIsRecorded) {
  const std::string args = "--rounds 1 --until-ms 1200000 --clock-origin 2000";
  const GameRun run = run_game("lost", args, lost_round_script());
  ASSERT_EQ(run.result.exit_code, 0) << run.result.err;
  ASSERT_EQ(run.rounds.size(), 1u) << run.result.out;
  const std::string& round = run.rounds[0];
  EXPECT_EQ(json_number(round, "game_over"), 1) << round;
  EXPECT_LT(json_number(round, "phase"), 8);
  EXPECT_EQ(json_number(round, "energy"), 0);
  EXPECT_LT(json_number(run.top, "virtual_ms"), 1200000) << "ended in the menu, not on time";
  const double before = json_number(round, "score_before_final"), final_score = json_number(round, "final_score");
  EXPECT_GE(before, 0);
  EXPECT_EQ(final_score, before + 30 * std::ceil(json_number(round, "round_seconds") * 0.2127659574468085)) << round;
  const std::vector<std::string> lines = high_score_lines(run.dir);
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[0], "LOST");
  EXPECT_EQ(lines[4], std::to_string(static_cast<long>(final_score)));
  std::filesystem::remove_all(run.dir);

  // The same game again, looked at while the banner stands: it slides for 62 frames (about
  // 1.5 s) after the energy ran out and the round ends about 4.9 s after.
  const long end_ms = static_cast<long>(json_number(round, "end_ms"));
  ASSERT_GT(end_ms, 0);
  const GameRun again =
      run_game("lost", args, lost_round_script(), {{end_ms + 600, "sliding.png"}, {end_ms + 3000, "standing.png"}});
  ASSERT_EQ(again.result.exit_code, 0) << again.result.err;
  EXPECT_EQ(again.rounds, run.rounds) << "the same script and origin give the same game";
  const Image stand = load_page(again.dir / "standing.png");
  EXPECT_TRUE(violet_text_at(stand, 270, 210, "G A M E"));
  EXPECT_TRUE(violet_text_at(stand, 350, 210, "O V E R"));
  EXPECT_EQ(classify_screen(stand).screen, Screen::Round);
  EXPECT_FALSE(violet_text_at(load_page(again.dir / "sliding.png"), 270, 210, "G A M E")) << "still sliding in";
  std::filesystem::remove_all(again.dir);
}

}  // namespace
