// The fractal clouds: the corner heights, the clamping of displaced heights, and the box fill
// that must leave exactly what gfx_line shape 2 leaves.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "asset_setup.h"
#include "assets/box_fill.h"
#include "assets/fractal.h"
#include "assets/palette.h"
#include "frame/random.h"

namespace {

Image* work_page() { return gfx_page(gfx_work_page_index()); }

TEST(FractalBackgrounds, TopLeftPixelIsTheTopLeftCornerHeightDarkened) {
  ensure_assets_generated();
  // Seed 16569 gives the corners 29, 129, 0, 100 (bottom-left first); top-left 100 is
  // palette entry 0x5D0D32, which alpha 74 over black takes to floor(c * 75 / 256).
  EXPECT_EQ(background_images[3]->row(0)[0], 0xFF1B030Eu);
  // Seed 5155: corners 142, 170, 131, 250; entry 250 is 0x66FBF3, alpha 85 gives c * 86 / 256.
  EXPECT_EQ(background_images[4]->row(0)[0], 0xFF225451u);
  for (int i = 3; i <= 4; ++i) {
    EXPECT_EQ(background_images[i]->width, 640);
    EXPECT_EQ(background_images[i]->height, 480);
  }
}

bool in_palette(Colour c) {
  for (Colour p : palette)
    if (p == c) return true;
  return false;
}

TEST(MidpointFractal, DisplacedHeightsAreClampedToThePalette) {
  gfx_open_screen(640, 480, 32, 2, kGfxAlphaPrimitives, 0);
  gfx_set_pages(0, 1);
  gfx_cls();
  build_palette(150, 215, 216);
  randomize(99);
  // A roughness of a million throws every displaced height far outside 0..255.
  draw_midpoint_fractal(4, 4, 10, 20, 30, 40, 1000000, 1, 0.5);
  const Colour low = palette[0], high = palette[255];
  // Pixels (1, 1) and (3, 3) show cell centres of the one level: displaced, then clamped.
  for (int p : {1, 3}) {
    const Colour c = work_page()->row(p)[p];
    EXPECT_TRUE(c == low || c == high) << p << ": " << std::hex << c;
  }
  for (int y = 0; y <= 4; ++y)
    for (int x = 0; x <= 4; ++x) EXPECT_TRUE(in_palette(work_page()->row(y)[x])) << x << "," << y;
  EXPECT_EQ(work_page()->row(5)[5], 0xFF000000u);  // nothing beyond (width, height)
}

TEST(MidpointFractal, CornerHeightsPaintTheCornersAndTheEdgesAverageThem) {
  gfx_open_screen(640, 480, 32, 2, kGfxAlphaPrimitives, 0);
  gfx_set_pages(0, 1);
  gfx_cls();
  build_palette(150, 215, 216);
  randomize(3);
  // No roughness: every height is a plain mean, so the top edge runs from c1 to c2.
  draw_midpoint_fractal(8, 8, 0, 100, 200, 40, 0, 2, 0.5);
  EXPECT_EQ(work_page()->row(0)[0], palette[0]);
  EXPECT_EQ(work_page()->row(0)[4], palette[50]);
  EXPECT_EQ(work_page()->row(4)[0], palette[20]);
  EXPECT_EQ(work_page()->row(4)[4], palette[85]);  // (50 + 150 + 120 + 20) / 4
}

TEST(BoxFill, LeavesExactlyWhatTheFilledBoxOfGfxLineLeaves) {
  gfx_open_screen(640, 480, 32, 2, kGfxAlphaPrimitives, 0);
  gfx_set_pages(0, 1);
  struct Box {
    float x1, y1, x2, y2;
  };
  std::vector<Box> boxes = {
      {0, 0, 1.25f, 0.9375f},    {1.25f, 0.9375f, 2.5f, 1.875f}, {2.5f, 0.5f, 3.75f, 1.5f},
      {-0.5f, -0.5f, 0.5f, 0.5f}, {-3.4f, 10, -0.6f, 20},        {636.25f, 477.1875f, 640, 480},
      {639.5f, 479.5f, 700, 600}, {50, 60, 40, 30},              {-100, 200, 1000, 201.5f},
      {5.5f, 6.5f, 5.5f, 6.5f},  {638.75f, 10, 640, 10.9375f},   {100, -2, 101, -1.5f},
  };
  randomize(7);
  for (int i = 0; i < 400; ++i) {
    // Mostly multiples of 1/16 like the cloud's corners, so ties at .5 come up often.
    const auto coord = [](double range) { return static_cast<float>(std::floor(rnd() * range * 16) / 16 - 8); };
    boxes.push_back({coord(660), coord(500), coord(660), coord(500)});
  }
  std::vector<Colour> expected;
  gfx_cls();
  for (std::size_t i = 0; i < boxes.size(); ++i)
    gfx_line(nullptr, boxes[i].x1, boxes[i].y1, boxes[i].x2, boxes[i].y2, 0xFF000100u + static_cast<Colour>(i),
             kLineFilledBox);
  expected = work_page()->pixels;
  gfx_cls();
  for (std::size_t i = 0; i < boxes.size(); ++i)
    fill_opaque_box(*work_page(), boxes[i].x1, boxes[i].y1, boxes[i].x2, boxes[i].y2, 0xFF000100u + static_cast<Colour>(i));
  const Image& page = *work_page();
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x)
      ASSERT_EQ(page.row(y)[x], expected[static_cast<std::size_t>(y) * page.stride + x]) << x << "," << y;
}

}  // namespace
