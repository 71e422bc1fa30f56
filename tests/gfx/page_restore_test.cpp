// A frame's background copy brings back only what was drawn on the page since the last one:
// after any drawing at all, the page must again equal the background exactly.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "gfx/gfx.h"

namespace {

class PageRestore : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(gfx_open_screen(640, 480, 32, 2, kGfxAlphaPrimitives, 0), 0);
    gfx_set_pages(0, 1);
    background = noise_image(7);
    other = noise_image(8);
    sprite = gfx_image_create(18, 18);
    for (int y = 0; y < 18; ++y)
      for (int x = 0; x < 18; ++x) sprite->row(y)[x] = (x + y) % 3 ? 0xFF10E020u : kMaskColour;
  }
  void TearDown() override {
    gfx_image_destroy(background);
    gfx_image_destroy(other);
    gfx_image_destroy(sprite);
  }
  static Image* noise_image(unsigned seed) {
    Image* image = gfx_image_create(640, 480);
    std::mt19937 gen(seed);
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 640; ++x) image->row(y)[x] = gen();
    return image;
  }
  // The work page read through the drawing layer, which leaves the restore's bookkeeping be.
  static bool page_equals(const Image* image) {
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 640; ++x)
        if (gfx_point(nullptr, static_cast<float>(x), static_cast<float>(y)) != image->row(y)[x]) return false;
    return true;
  }
  Image* background = nullptr;
  Image* other = nullptr;
  Image* sprite = nullptr;
};

// Every way of drawing on a page, each on its own, at the page's edges and across a column.
TEST_F(PageRestore, EveryDrawingIsUndoneByTheNextBackgroundCopy) {
  const std::vector<std::pair<std::string, std::function<void()>>> drawings = {
      {"pset", [] { gfx_pset(nullptr, 639, 479, 0x80FFFFFFu); }},
      {"line", [] { gfx_line(nullptr, -5, 3, 700, 470, 0xFFE7E7E7u); }},
      {"box", [] { gfx_line(nullptr, 15, 30, 17, 31, 0xFFE7E7E7u, kLineBox); }},
      {"filled box", [] { gfx_line(nullptr, 630, 100, 700, 120, 0x40FF0000u, kLineFilledBox); }},
      {"disc", [] { gfx_circle(nullptr, 320, 240, 37.5f, 0x9100A8C6u); }},
      {"discs at the edges", [] {
         gfx_circle(nullptr, 2, 477, 9.5f, 0x9100A8C6u);
         gfx_circle(nullptr, 637, 5, 6.2f, 0x9100A8C6u);
       }},
      {"row", [] { gfx_line(nullptr, 900, 479, -20, 479, 0x80E7E7E7u); }},
      {"text", [] { gfx_draw_text(nullptr, 636, 466, "Score", 0xFF0275BEu); }},
      {"text inside", [] {  // every glyph at every offset in the page's columns of 16
         for (int x = 0; x < 16; ++x)
           gfx_draw_text(nullptr, 77.0f + x, 12.0f * x - 3, "Wj_.|Score:0123456789 ABCDEFGHIJKLMNOPQRSTUVWXYZ", 0x800275BEu);
       }},
      {"paint", [] {
         gfx_line(nullptr, 100, 300, 140, 300, 0xFFAB00ABu, kLineBox);
         gfx_line(nullptr, 100, 300, 100, 340, 0xFFAB00ABu);
         gfx_line(nullptr, 140, 300, 140, 340, 0xFFAB00ABu);
         gfx_line(nullptr, 100, 340, 140, 340, 0xFFAB00ABu);
         gfx_paint(nullptr, 120, 320, 0xFFF000F0u, 0xFFAB00ABu);
       }},
      {"sprite", [this] { gfx_put(nullptr, 631, -3, sprite, kPutTransparent); }},
      {"glow", [this] { gfx_put(nullptr, 47, 400, sprite, kPutAdditive, 132); }},
      {"blend", [this] { gfx_put(nullptr, 200, 200, sprite, kPutBlend, 127); }},
      {"part copy", [this] { gfx_put(nullptr, 300, 17, sprite, kPutCopy); }},
      {"whole blend", [this] { gfx_put(nullptr, 0, 0, other, kPutBlend, 100); }},
      {"cross-fade", [this] { gfx_put_blend_pair(nullptr, other, 100, other, 155); }},
      {"clear", [] { gfx_cls(); }},
  };
  for (const auto& [name, draw] : drawings) {
    gfx_put(nullptr, 0, 0, background, kPutCopy);
    ASSERT_TRUE(page_equals(background)) << name;
    draw();
    ASSERT_FALSE(page_equals(background)) << name << " drew nothing";
    gfx_put(nullptr, 0, 0, background, kPutCopy);
    EXPECT_TRUE(page_equals(background)) << name;
  }
}

// The copy is only partial when the page still holds that very image, unchanged.
TEST_F(PageRestore, AnotherOrChangedBackgroundIsCopiedWhole) {
  gfx_put(nullptr, 0, 0, background, kPutCopy);
  gfx_put(nullptr, 0, 0, other, kPutCopy);
  EXPECT_TRUE(page_equals(other));
  gfx_put(nullptr, 0, 0, background, kPutCopy);
  EXPECT_TRUE(page_equals(background));
  // The background itself drawn on between two copies.
  gfx_line(background, 0, 0, 639, 479, 0xFF00FF00u, kLineFilledBox);
  gfx_put(nullptr, 0, 0, background, kPutCopy);
  EXPECT_TRUE(page_equals(background));
  // Captured into, the same way the start-up makes its images.
  gfx_put(nullptr, 0, 0, other, kPutCopy);
  gfx_put(nullptr, 0, 0, background, kPutCopy);
  gfx_set_pages(1, 0);
  gfx_put(nullptr, 0, 0, other, kPutCopy);
  gfx_get(nullptr, 0, 0, 639, 479, background);
  gfx_set_pages(0, 1);
  gfx_put(nullptr, 0, 0, background, kPutCopy);
  EXPECT_TRUE(page_equals(other));
}

// Each page keeps its own account: what is drawn on one never counts for the other.
TEST_F(PageRestore, PagesKeepTheirOwnAccount) {
  for (int page : {0, 1}) {
    gfx_set_pages(page, page ^ 1);
    gfx_put(nullptr, 0, 0, background, kPutCopy);
  }
  gfx_set_pages(0, 1);
  gfx_circle(nullptr, 100, 100, 20, 0xFFFFFFFFu);
  gfx_set_pages(1, 0);
  gfx_circle(nullptr, 500, 300, 20, 0xFFFFFFFFu);
  gfx_put(nullptr, 0, 0, background, kPutCopy);
  EXPECT_TRUE(page_equals(background));
  gfx_set_pages(0, 1);
  gfx_put(nullptr, 0, 0, background, kPutCopy);
  EXPECT_TRUE(page_equals(background));
}

// Pixels written straight into a page, as the start-up's painters do, are unseen by the
// account: handing the page out starts it afresh.
TEST_F(PageRestore, DirectAccessToAPageStartsAfresh) {
  gfx_put(nullptr, 0, 0, background, kPutCopy);
  Image* page = gfx_page(0);
  for (int x = 0; x < 640; ++x) page->row(240)[x] = 0xFF000000u;
  gfx_put(nullptr, 0, 0, background, kPutCopy);
  EXPECT_TRUE(page_equals(background));
  // And reopening the display clears the pages.
  gfx_put(nullptr, 0, 0, background, kPutCopy);
  ASSERT_EQ(gfx_open_screen(640, 480, 32, 2, kGfxAlphaPrimitives, 0), 0);
  gfx_put(nullptr, 0, 0, background, kPutCopy);
  EXPECT_TRUE(page_equals(background));
}

}  // namespace
