// A translucent box drawn over and over (the energy bar) comes out exactly as if every pass
// were blended, however the passes are interleaved with other drawing.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "gfx/gfx.h"

namespace {

constexpr Colour kBar = 0xBE55FE02u;

class SettledBox : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(gfx_open_screen(640, 480, 32, 2, kGfxAlphaPrimitives, 0), 0);
    gfx_set_pages(0, 1);
    std::mt19937 gen(11);
    for (int y = 0; y < 20; ++y)
      for (int x = 420; x < 640; ++x) gfx_pset(nullptr, static_cast<float>(x), static_cast<float>(y), gen() | 0xFF000000u);
    for (int y = 0; y < 20; ++y)
      for (int x = 420; x < 640; ++x) expected[y][x - 420] = pixel(x, y);
  }
  static Colour pixel(int x, int y) { return gfx_point(nullptr, static_cast<float>(x), static_cast<float>(y)); }
  // The box blended once into the expected pixels, one by one.
  void expect_pass(int x1, int y1, int x2, int y2, Colour c) {
    for (int y = y1; y <= y2; ++y)
      for (int x = x1; x <= x2; ++x) expected[y][x - 420] = gfx_blend_primitive(expected[y][x - 420], c);
  }
  void expect_pset(int x, int y, Colour c) { expected[y][x - 420] = gfx_blend_primitive(expected[y][x - 420], c); }
  void check(const char* what) {
    for (int y = 0; y < 20; ++y)
      for (int x = 420; x < 640; ++x) ASSERT_EQ(pixel(x, y), expected[y][x - 420]) << what << " at " << x << "," << y;
  }
  Colour expected[20][220];
};

// The box is settled only when every row is: here the last row is from the start.
TEST_F(SettledBox, OneRowStillMovingKeepsTheBoxBlending) {
  Colour settled = 0xFF000000u;
  for (int i = 0; i < 100; ++i) settled = gfx_blend_primitive(settled, kBar);
  Image* page = gfx_page(0);
  for (int x = 430; x <= 630; ++x) page->row(10)[x] = expected[10][x - 420] = settled;
  gfx_unlock(-1, -1);
  for (int i = 0; i < 5; ++i) {
    gfx_line(nullptr, 430, 7, 630, 10, kBar, kLineFilledBox);
    expect_pass(430, 7, 630, 10, kBar);
  }
  check("first rows still moving");
}

// Many passes blend as many times, and whatever is drawn between two passes, however small and
// however (a pixel written straight into the page too), is blended by the next.
TEST_F(SettledBox, PassesAndDrawingBetweenThemBlendAsOften) {
  const auto pass = [&](int times, int x2 = 630) {
    for (int i = 0; i < times; ++i) {
      gfx_line(nullptr, 430, 7, static_cast<float>(x2), 10, kBar, kLineFilledBox);
      expect_pass(430, 7, x2, 10, kBar);
    }
  };
  pass(100);
  check("100 passes");
  gfx_pset(nullptr, 629, 9, 0xFF000000u);
  expect_pset(629, 9, 0xFF000000u);
  pass(1);
  check("after a pixel");
  for (int i = 0; i < 30; ++i) pass(1, 631), pass(1);  // a neighbouring box, then the first one again
  check("alternating boxes");
  gfx_line(nullptr, 430, 7, 630, 10, 0x80FF0000u, kLineFilledBox);  // another colour over the same box
  expect_pass(430, 7, 630, 10, 0x80FF0000u);
  pass(1);
  check("another colour");
  // A whole-page cross-fade over the settled box: a solid image whose top byte is alpha + 1
  // blends like that colour.
  pass(100);
  Image* from = gfx_image_create(640, 480);
  Image* to = gfx_image_create(640, 480);
  std::fill(from->pixels.begin(), from->pixels.end(), 0x65123456u);
  std::fill(to->pixels.begin(), to->pixels.end(), 0x9C654321u);
  gfx_put_blend_pair(nullptr, from, 100, to, 155);
  expect_pass(420, 0, 639, 19, 0x65123456u);
  expect_pass(420, 0, 639, 19, 0x9C654321u);
  pass(1);
  check("after a cross-fade");
  gfx_image_destroy(from);
  gfx_image_destroy(to);
  pass(30);  // last: a page handed out leaves every box untracked until the next unlock
  gfx_page(0)->row(8)[500] = expected[8][500 - 420] = 0xFF123456u;
  pass(1);
  check("after a direct write");
}

}  // namespace
