// The menu's "High Scores" shows the table read from the scrambled file: the same page with
// and without a recorded entry differs exactly in the entry's glyphs.
#include <fstream>

#include "e2e/e2e_support.h"
#include "gfx/font8x8.h"

namespace {

void write_table(const std::filesystem::path& dir, const std::vector<std::string>& lines) {
  std::ofstream out(dir / "data" / "hs.dat", std::ios::binary);
  for (std::string line : lines) {
    for (std::size_t i = 0; i < line.size(); ++i)
      line[i] = static_cast<char>(static_cast<unsigned char>(line[i]) + "vantry"[i % 6]);
    out << line << "\r\n";
  }
}

Image table_page(const std::vector<std::string>& table) {
  GameRun run{fresh_temp_dir("e2e_table"), {}, {}, {}};
  std::filesystem::create_directories(run.dir / "data");
  if (!table.empty()) write_table(run.dir, table);
  const int t = kMenuReadyMs;
  const std::string script = std::to_string(t) + " tap DOWN\n" + std::to_string(t + 300) + " tap DOWN\n" +
                             std::to_string(t + 600) + " tap DOWN\n" + std::to_string(t + 900) + " tap ENTER\n";
  const std::filesystem::path shot = run.dir / "table.png";
  const ProcessResult r = run_headless_bin("--until-ms 6000 --workdir '" + run.dir.string() + "' --script '" +
                                           write_script(run.dir, script) + "' --dump-frame '5800:" + shot.string() + "'");
  EXPECT_EQ(r.exit_code, 0) << r.err;
  Image page = load_page(shot);
  std::filesystem::remove_all(run.dir);
  return page;
}

TEST(HighScoreTable, ShowsTheNamesAndScoresOfTheFile) {
  const Image empty = table_page({});
  const Image filled = table_page({"LOST", "", "", "", "1234", "0", "0", "0"});
  ASSERT_EQ(empty.pixels.size(), filled.pixels.size());
  // Where each text is drawn: names at x 270, scores at x 340, rows 152, 164, 176, 188.
  const struct { int x, y; const char* text; } texts[] = {
      {270, 152, "LOST"}, {340, 152, "1234"}, {340, 164, "0"}, {340, 176, "0"}, {340, 188, "0"}};
  int glyph_pixels = 0;
  for (const auto& t : texts)
    for (int i = 0; t.text[i]; ++i)
      for (int row = 0; row < 8; ++row)
        for (int col = 0; col < 8; ++col) {
          const int x = t.x + i * 8 + col, y = t.y + row;
          const bool set = font8x8[static_cast<unsigned char>(t.text[i])][row] & (0x80 >> col);
          glyph_pixels += set;
          EXPECT_EQ(filled.row(y)[x] != empty.row(y)[x], set) << t.text << " at " << x << "," << y;
        }
  EXPECT_GT(glyph_pixels, 60);
}

}  // namespace
