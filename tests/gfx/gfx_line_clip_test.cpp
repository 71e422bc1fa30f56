// Plain lines are walked only where they can touch the page, yet plot exactly the pixels of a
// full step-by-step walk; far-off and NaN end points cost nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <random>
#include <vector>

#include "gfx/gfx.h"

namespace {

// The full walk, one step at a time, as a slow reference: every pixel of the segment.
std::vector<Colour> reference_line(int x1, int y1, int x2, int y2, int style) {
  std::vector<Colour> pixels(640 * 480, 0xFF000000u);
  const int dx = std::abs(x2 - x1), dy = -std::abs(y2 - y1);
  const int sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
  int err = dx + dy;
  unsigned bit = 15;
  for (;;) {
    if (((style >> bit) & 1) && x1 >= 0 && y1 >= 0 && x1 < 640 && y1 < 480) pixels[y1 * 640 + x1] = 0xFFFFFFFFu;
    bit = (bit + 15) & 15;
    if (x1 == x2 && y1 == y2) break;
    const int e2 = 2 * err;
    if (e2 >= dy) err += dy, x1 += sx;
    if (e2 <= dx) err += dx, y1 += sy;
  }
  return pixels;
}

class GfxLineClip : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(gfx_open_screen(640, 480, 32, 2, kGfxAlphaPrimitives, 0), 0);
    gfx_set_pages(0, 1);
  }
  static const std::vector<Colour>& drawn(float x1, float y1, float x2, float y2, int style) {
    gfx_cls();
    gfx_line(nullptr, x1, y1, x2, y2, 0xFFFFFFFFu, kLinePlain, style);
    return gfx_page(gfx_work_page_index())->pixels;
  }
};

TEST_F(GfxLineClip, EverySegmentPlotsThePixelsOfTheFullWalk) {
  std::mt19937 gen(5);
  std::uniform_int_distribution<int> near(-700, 1300), far(-40000, 40000);
  const int styles[] = {0xFFFF, 0xF0F0, 0x8001, 0x1234};
  for (int n = 0; n < 3000; ++n) {
    auto& d = n % 3 == 0 ? far : near;  // some from far off the page, most near it
    const int x1 = d(gen), y1 = d(gen), x2 = near(gen), y2 = near(gen), style = styles[n % 4];
    const bool swap = n % 2;  // each direction of travel
    const auto& got = swap ? drawn(x2, y2, x1, y1, style) : drawn(x1, y1, x2, y2, style);
    const auto want = swap ? reference_line(x2, y2, x1, y1, style) : reference_line(x1, y1, x2, y2, style);
    ASSERT_EQ(got, want) << x1 << "," << y1 << " - " << x2 << "," << y2 << " style " << style;
  }
  // Diagonals, single points, lines along the page's edges and lines starting one step off it.
  const int edges[][4] = {{-5, -5, 700, 700}, {639, 0, 0, 479}, {3, 3, 3, 3}, {0, 479, 639, 479}, {639, -9, 639, 900},
                          {-1, 10, 300, 200}, {10, -1, 200, 300}, {640, 5, 100, 300}, {5, 480, 300, 100}};
  for (const auto& e : edges) ASSERT_EQ(drawn(e[0], e[1], e[2], e[3], 0xFFFF), reference_line(e[0], e[1], e[2], e[3], 0xFFFF));
}

// Solid rows are filled as spans rather than walked: the same pixels in either direction,
// from far off the page, in any colour, blended once each; dashed rows are still walked.
TEST_F(GfxLineClip, RowsInAnyColourBlendTheWalksPixelsOnce) {
  std::mt19937 gen(11);
  std::uniform_int_distribution<int> near(-50, 700), far(-40000, 40000), row(-3, 482);
  const Colour colours[] = {0x80FFFFFFu, 0x01000000u, 0xFF123456u, 0x00FFFFFFu, 0xC0E08E00u};
  const int styles[] = {0xFFFF, 0xFFFF, 0xF0F0, 0x7FFF};
  std::vector<Colour> before(640 * 480);
  for (int n = 0; n < 2000; ++n) {
    auto& d = n % 4 == 0 ? far : near;
    const int x1 = d(gen), x2 = near(gen), y = row(gen), style = styles[n % 4];
    const Colour c = colours[n % 5];
    Image* page = gfx_page(gfx_work_page_index());
    for (Colour& p : before) p = gen();
    page->pixels = before;
    gfx_line(nullptr, static_cast<float>(n % 2 ? x1 : x2), static_cast<float>(y), static_cast<float>(n % 2 ? x2 : x1),
             static_cast<float>(y), c, kLinePlain, style);
    const std::vector<Colour> walked = n % 2 ? reference_line(x1, y, x2, y, style) : reference_line(x2, y, x1, y, style);
    for (std::size_t i = 0; i < before.size(); ++i)
      ASSERT_EQ(page->pixels[i], walked[i] == 0xFFFFFFFFu ? gfx_blend_primitive(before[i], c) : before[i])
          << x1 << " - " << x2 << " row " << y << " style " << style << " pixel " << i;
  }
}

TEST_F(GfxLineClip, FarOffAndNanEndPointsTakeNoTime) {
  const auto start = std::chrono::steady_clock::now();
  // Crosses the page from corner to corner, a billion pixels long each way.
  const auto& crossing = drawn(-1e9f, -1e9f, 1e9f, 1e9f, 0xFFFF);
  for (int i = 0; i < 480; ++i) ASSERT_EQ(crossing[i * 640 + i], 0xFFFFFFFFu) << i;
  drawn(-3e9f, 5e8f, 1e30f, -1e9f, 0xFFFF);
  drawn(INFINITY, 10, -INFINITY, 20, 0xFFFF);
  const auto& nan_line = drawn(NAN, 100, 200, 200, 0xFFFF);
  EXPECT_TRUE(std::all_of(nan_line.begin(), nan_line.end(), [](Colour c) { return c == 0xFF000000u; }));
  gfx_line(nullptr, -1e9f, -1e9f, 1e9f, 1e9f, 0xFFFFFFFFu, kLineBox);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

}  // namespace
