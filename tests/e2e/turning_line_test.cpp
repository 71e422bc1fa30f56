// Holding Right in a real round turns the line 5 degrees a frame about its pivot; the shown
// page has the line in its exact colours at that angle, the fan of ghost lines behind it and
// the heads-up display.
#include <cmath>

#include "e2e/e2e_support.h"
#include "headless/autoplay_screens.h"

namespace {

Colour at(const Image& page, double x, double y) {
  return page.row(static_cast<int>(std::lround(y)))[std::lround(x)];
}

// The point r pixels along the line at angle_deg, as the line is drawn.
double along_x(int deg, double r) { return 320 + r * std::sin(deg * 3.14159 / 180); }
double along_y(int deg, double r) { return 220 + r * std::cos(deg * 3.14159 / 180); }

bool line_drawn_at(const Image& page, int deg) {
  for (double r : {25.0, 35.0, 45.0, -30.0, -50.0})
    if (at(page, along_x(deg, r), along_y(deg, r)) != 0xFFE7E7E7u) return false;
  return at(page, along_x(deg, 52), along_y(deg, 52)) == 0xFFC00000u;
}

TEST(TurningLine, HeldRightTurnsTheLineInItsExactColoursWithItsTrailAndTheHud) {
  const std::filesystem::path dir = fresh_temp_dir("e2e_turning");
  const std::string script =
      write_script(dir, std::to_string(kMenuReadyMs) + " tap ENTER\n5000 down RIGHT\n6000 up RIGHT\n");
  const std::filesystem::path shot = dir / "turning.png";
  const ProcessResult r = run_headless_bin("--until-ms 6000 --script '" + script + "' --workdir '" +
                                           dir.string() + "' --dump-frame '5900:" + shot.string() + "'");
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const Image page = load_page(shot);
  std::filesystem::remove_all(dir);

  // From 90 degrees, about 37 frames of Right fit before the dump at 5.9 s.
  int turns = -1;
  for (int k = 0; k < 72; ++k)
    if (line_drawn_at(page, ((90 - 5 * k) % 360 + 360) % 360)) turns = k;
  ASSERT_GE(turns, 30) << "the line is not drawn at any angle Right can reach";
  EXPECT_LE(turns, 42);
  const int deg = ((90 - 5 * turns) % 360 + 360) % 360;

  // Ghosts of the last frames' angles lie behind the turn (higher angles), blue over the dark
  // background.
  const Colour ghost = at(page, along_x(deg + 10, 45), along_y(deg + 10, 45));
  EXPECT_GT(ghost & 0xFF, ((ghost >> 16) & 0xFF) + 20) << std::hex << ghost;

  EXPECT_EQ(at(page, 500, 6), 0xFFFFFFFFu);  // the energy bar's frame
  EXPECT_TRUE(page_shows_text(page, 390, 5, "Life:", 0xFF1E7FC8));
  EXPECT_TRUE(page_shows_text(page, 13, 466, "Score:000000", 0xFF0275BE));
}

}  // namespace
