// The fractal clouds: the corner heights, the clamping of displaced heights, and the box fill
// that must leave exactly what gfx_line shape 2 leaves. (The palette shows in the pinned
// backgrounds of generated_test.cpp.)
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "assets/box_fill.h"
#include "assets/fractal.h"
#include "assets/palette.h"
#include "base/random.h"
#include "gfx/gfx.h"

namespace {

// A cleared work page and the palette of the first cloud.
Image& fresh_page() {
  gfx_open_screen(640, 480, 32, 2, kGfxAlphaPrimitives, 0);
  gfx_set_pages(0, 1);
  gfx_cls();
  build_palette(150, 215, 216);
  return *gfx_page(gfx_work_page_index());
}

TEST(MidpointFractal, CornersPaintTheCornersEdgesAverageThemAndDisplacedHeightsAreClamped) {
  Image& page = fresh_page();
  randomize(3);
  // No roughness: every height is a plain mean, so the top edge runs from c1 to c2.
  draw_midpoint_fractal(8, 8, 0, 100, 200, 40, 0, 2, 0.5);
  EXPECT_EQ(page.row(0)[0], palette[0]);
  EXPECT_EQ(page.row(0)[4], palette[50]);
  EXPECT_EQ(page.row(4)[0], palette[20]);
  EXPECT_EQ(page.row(4)[4], palette[85]);  // (50 + 150 + 120 + 20) / 4

  gfx_cls();
  randomize(99);
  // A roughness of a million throws every displaced height far outside 0..255: pixels (1, 1)
  // and (3, 3) show cell centres of the one level, displaced, then clamped.
  draw_midpoint_fractal(4, 4, 10, 20, 30, 40, 1000000, 1, 0.5);
  for (int p : {1, 3}) EXPECT_TRUE(page.row(p)[p] == palette[0] || page.row(p)[p] == palette[255]) << p;
  for (int y = 0; y <= 4; ++y)
    for (int x = 0; x <= 4; ++x)
      EXPECT_NE(std::find(std::begin(palette), std::end(palette), page.row(y)[x]), std::end(palette)) << x << "," << y;
  EXPECT_EQ(page.row(5)[5], 0xFF000000u);  // nothing beyond (width, height)
}

TEST(BoxFill, LeavesExactlyWhatTheFilledBoxOfGfxLineLeaves) {
  Image& page = fresh_page();
  struct Box { float x1, y1, x2, y2; };
  std::vector<Box> boxes = {
      {0, 0, 1.25f, 0.9375f},    {1.25f, 0.9375f, 2.5f, 1.875f}, {2.5f, 0.5f, 3.75f, 1.5f},
      {-0.5f, -0.5f, 0.5f, 0.5f}, {-3.4f, 10, -0.6f, 20},        {636.25f, 477.1875f, 640, 480},
      {639.5f, 479.5f, 700, 600}, {50, 60, 40, 30},              {-100, 200, 1000, 201.5f},
      {5.5f, 6.5f, 5.5f, 6.5f},  {638.75f, 10, 640, 10.9375f},   {100, -2, 101, -1.5f},
  };
  randomize(7);
  // Mostly multiples of 1/16 like the cloud's corners, so ties at .5 come up often.
  const auto coord = [](double range) { return static_cast<float>(std::floor(rnd() * range * 16) / 16 - 8); };
  for (int i = 0; i < 400; ++i) boxes.push_back({coord(660), coord(500), coord(660), coord(500)});
  for (std::size_t i = 0; i < boxes.size(); ++i)
    gfx_line(nullptr, boxes[i].x1, boxes[i].y1, boxes[i].x2, boxes[i].y2, 0xFF000100u + Colour(i), kLineFilledBox);
  const std::vector<Colour> expected = page.pixels;
  gfx_cls();
  for (std::size_t i = 0; i < boxes.size(); ++i)
    fill_opaque_box(page, boxes[i].x1, boxes[i].y1, boxes[i].x2, boxes[i].y2, 0xFF000100u + Colour(i));
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) ASSERT_EQ(page.row(y)[x], expected[std::size_t(y) * page.stride + x]) << x << "," << y;
}

}  // namespace
