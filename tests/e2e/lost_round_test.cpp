// A round nobody plays: the energy runs out, "G A M E" / "O V E R" slides in, the final score
// counts the completion only, and the score goes into the scrambled high-score file.
#include "e2e/e2e_support.h"

#include "frame/font8x8.h"
#include "headless/autoplay_screens.h"

namespace {

std::vector<std::string> unscrambled_lines(const std::filesystem::path& path) {
  const std::string bytes = read_file(path);
  std::vector<std::string> lines;
  for (std::size_t start = 0, end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2) {
    std::string line = bytes.substr(start, end - start);
    for (std::size_t i = 0; i < line.size(); ++i)
      line[i] = static_cast<char>(static_cast<unsigned char>(line[i]) - "vantry"[i % 6]);
    lines.push_back(line);
  }
  return lines;
}

// ENTER starts the game; then, every two seconds, Y (the record prompt), the name, ENTER. In
// a round none of these keys does anything. The name entry empties its key buffer as it
// opens, after the Y that opened it, and the name is typed 500 ms later.
std::string lost_round_script() {
  std::string s = std::to_string(kMenuReadyMs) + " tap ENTER\n";
  for (int t = 10000; t < 1200000; t += 2000) {
    s += std::to_string(t) + " tap Y\n";
    s += std::to_string(t + 500) + " type LOST\n";
    s += std::to_string(t + 1000) + " tap ENTER\n";
  }
  return s;
}

// The banner is drawn translucent (0xC8BBF9FF), so its glyph pixels are a light violet
// whatever lies under them.
bool violet_text_at(const Image& page, int x, int y, std::string_view text) {
  int glyph = 0, violet_glyph = 0, violet_around = 0, around = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const std::uint8_t* rows = font8x8[static_cast<unsigned char>(text[i])];
    for (int row = 0; row < 8; ++row)
      for (int col = 0; col < 8; ++col) {
        const Colour c = page.row(y + row)[x + static_cast<int>(i) * 8 + col];
        const bool violet = ((c >> 16) & 0xFF) >= 140 && ((c >> 8) & 0xFF) >= 140 && (c & 0xFF) >= 190;
        if (rows[row] & (0x80 >> col)) {
          ++glyph;
          violet_glyph += violet;
        } else {
          ++around;
          violet_around += violet;
        }
      }
  }
  return glyph > 0 && violet_glyph == glyph && violet_around * 2 < around;
}

TEST(LostRound, EnergyRunsOutThenCompletionOnlyAndTheNameIsRecorded) {
  const std::filesystem::path dir = fresh_temp_dir("e2e_lost");
  std::filesystem::create_directories(dir / "data");
  const std::string script = write_script(dir, lost_round_script());
  const std::string common = "--rounds 1 --until-ms 1200000 --clock-origin 2000 --script '" + script +
                             "' --workdir '" + dir.string() + "'";
  const ProcessResult r = run_headless_bin(common);
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const std::vector<std::string> rounds = round_results(r.out);
  ASSERT_EQ(rounds.size(), 1u) << r.out;
  const std::string& round = rounds[0];
  EXPECT_EQ(json_number(round, "game_over"), 1) << round;
  EXPECT_LT(json_number(round, "phase"), 8);
  EXPECT_EQ(json_number(round, "energy"), 0);
  EXPECT_LT(json_number(top_level(r.out), "virtual_ms"), 1200000) << "ended in the menu, not on time";

  const double seconds = json_number(round, "round_seconds");
  const double before = json_number(round, "score_before_final");
  const double final_score = json_number(round, "final_score");
  EXPECT_GE(before, 0);
  EXPECT_EQ(final_score, before + 30 * std::ceil(seconds * 0.2127659574468085)) << round;

  const std::vector<std::string> lines = unscrambled_lines(dir / "data" / "hs.dat");
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[0], "LOST");
  EXPECT_EQ(lines[4], std::to_string(static_cast<long>(final_score)));

  // The same game again, looked at while the banner stands: it slides for 62 frames (about
  // 1.5 s) after the energy ran out and the round ends about 4.9 s after.
  const double end_ms = json_number(round, "end_ms");
  ASSERT_GT(end_ms, 0);
  const std::filesystem::path sliding = dir / "sliding.png", standing = dir / "standing.png";
  const ProcessResult again =
      run_headless_bin(common + " --dump-frame " + std::to_string(static_cast<long>(end_ms) + 600) + ":'" +
                       sliding.string() + "' --dump-frame " + std::to_string(static_cast<long>(end_ms) + 3000) +
                       ":'" + standing.string() + "'");
  ASSERT_EQ(again.exit_code, 0) << again.err;
  EXPECT_EQ(round_results(again.out), rounds) << "the same script and origin give the same game";
  const Image stand = load_page(standing);
  EXPECT_TRUE(violet_text_at(stand, 270, 210, "G A M E"));
  EXPECT_TRUE(violet_text_at(stand, 350, 210, "O V E R"));
  const Image slide = load_page(sliding);
  EXPECT_FALSE(violet_text_at(slide, 270, 210, "G A M E")) << "still sliding in";
  EXPECT_EQ(classify_screen(stand).screen, Screen::Round);
  std::filesystem::remove_all(dir);
}

}  // namespace
