// The presentation layer's colour arithmetic, rounding, clipping and shapes: balls and
// powerups sense the line by these exact values, so every rule here is a gameplay rule.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "gfx/gfx.h"
#include "gfx/pixel_rows.h"

namespace {

class Gfx : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(gfx_open_screen(640, 480, 32, 2, kGfxAlphaPrimitives, 0), 0);
    gfx_set_pages(0, 1);
    gfx_cls();
  }
  static Image* page() { return gfx_page(gfx_work_page_index()); }
  static Colour at(int x, int y) { return gfx_point(nullptr, static_cast<float>(x), static_cast<float>(y)); }
  static int count_colour(Colour c) {
    int n = 0;
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 640; ++x) n += at(x, y) == c;
    return n;
  }
  static Image* solid_image(int w, int h, Colour c) {
    Image* image = gfx_image_create(w, h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) image->row(y)[x] = c;
    return image;
  }
};

TEST_F(Gfx, TranslucentPrimitiveBlendsAndOpaqueReplacesExactly) {
  gfx_pset(nullptr, 10, 10, 0xBEFE9B02);
  EXPECT_EQ(at(10, 10), 0xCEBC7301u);
  gfx_line(nullptr, 0, 20, 100, 20, 0xFFE7E7E7);
  for (int x = 0; x <= 100; ++x) ASSERT_EQ(at(x, 20), 0xFFE7E7E7u) << x;
  // Blending towards a lighter and a darker pixel floors the signed difference.
  page()->row(30)[5] = 0x80FFFFFF;
  gfx_pset(nullptr, 5, 30, 0x40000000);
  // each channel: 255 + floor(-255 * 64 / 256) = 255 - 64 = 191; alpha 128 + floor(-64*64/256) = 112
  EXPECT_EQ(at(5, 30), 0x70BFBFBFu);
}

TEST_F(Gfx, BlendModeWeighsByAlphaPlusOneAndZeroDrawsLikeTransparent) {
  Image* white = solid_image(4, 4, 0xFFFFFFFF);
  gfx_put(nullptr, 0, 0, white, kPutBlend, 127);
  EXPECT_EQ(at(0, 0), 0xFF7F7F7Fu);
  gfx_cls();
  gfx_put(nullptr, 0, 0, white, kPutBlend, 0);
  EXPECT_EQ(at(3, 3), 0x00FFFFFFu);
  Image* translucent = solid_image(2, 2, 0x12345678);
  gfx_put(nullptr, 10, 10, translucent, kPutBlend, 255);
  EXPECT_EQ(at(10, 10), 0x12345678u);  // every byte copied, top byte included
  gfx_put(nullptr, 20, 20, translucent, kPutBlend, 0x1FF);  // only the low 8 bits count
  EXPECT_EQ(at(20, 20), 0x12345678u);
  gfx_image_destroy(white);
  gfx_image_destroy(translucent);
}

TEST_F(Gfx, MaskColourIsSkippedWhateverItsTopByteAndModeZeroClearsTopByte) {
  Image* sprite = solid_image(3, 1, 0xFFE7E7E7);
  sprite->row(0)[1] = 0xFFFF00FF;
  sprite->row(0)[2] = 0x00FF00FF;
  gfx_line(nullptr, 0, 0, 10, 0, 0xFF102030);
  gfx_put(nullptr, 0, 0, sprite, kPutTransparent);
  EXPECT_EQ(at(0, 0), 0x00E7E7E7u);  // a sprite never reads back as the opaque line colour
  EXPECT_EQ(at(1, 0), 0xFF102030u);
  EXPECT_EQ(at(2, 0), 0xFF102030u);
  gfx_put(nullptr, 0, 1, sprite, kPutCopy);
  EXPECT_EQ(at(1, 1), 0xFFFF00FFu);  // copy takes the mask colour too
  gfx_image_destroy(sprite);
}

TEST_F(Gfx, AdditiveModeSaturatesEachByte) {
  Image* glow = solid_image(1, 1, 0xFF80FF10);
  page()->row(0)[0] = 0xFFF00000;
  gfx_put(nullptr, 0, 0, glow, kPutAdditive, 132);
  // 0x80*132/256 = 66, 0xFF*132/256 = 131, 0x10*132/256 = 8
  EXPECT_EQ(at(0, 0), 0xFFFF8308u);
  gfx_image_destroy(glow);
}

TEST_F(Gfx, CoordinatesRoundHalfAwayFromZero) {
  gfx_pset(nullptr, 2.5f, 3.49f, 0xFF0000FF);
  EXPECT_EQ(at(3, 3), 0xFF0000FFu);
  gfx_pset(nullptr, -0.5f, 0.0f, 0xFF00FF00);  // rounds to -1: clipped
  EXPECT_EQ(count_colour(0xFF00FF00), 0);
  gfx_pset(nullptr, -0.49f, 0.0f, 0xFF00FF00);
  EXPECT_EQ(at(0, 0), 0xFF00FF00u);
  EXPECT_EQ(gfx_point(nullptr, 639.4f, 479.4f), 0xFF000000u);
  EXPECT_EQ(gfx_point(nullptr, 639.5f, 0), 0xFFFFFFFFu);
  EXPECT_EQ(gfx_point(nullptr, -1, 5), 0xFFFFFFFFu);
}

TEST_F(Gfx, DiscsHaveTheirRowHalfWidthsAndEachRowBlendsOnce) {
  // Row widths from the centre row down (the upper half mirrors it), as the integer tracer
  // leaves them: whole radii, and the fractional ones of particles and explosions.
  const struct { float radius; std::vector<int> widths; } discs[] = {
      {4, {9, 9, 7, 5, 3}}, {6, {13, 13, 11, 11, 9, 7, 3}}, {7, {15, 15, 15, 13, 11, 9, 7, 5}},
      {5.43f, {12, 12, 10, 10, 8, 6}}, {15.5f, {32, 32, 32, 32, 30, 30, 30, 28, 26, 26, 24, 22, 20, 18, 14, 10}}};
  const Colour once = gfx_blend_primitive(0xFF000000, 0x80FFFFFF);
  for (const auto& [radius, widths] : discs) {
    gfx_cls();
    gfx_circle(nullptr, 100, 100, radius, 0x80FFFFFF);
    for (int dy = -17; dy <= 17; ++dy) {
      int width = 0;
      for (int x = 80; x <= 120; ++x) {
        ASSERT_TRUE(at(x, 100 + dy) == 0xFF000000u || at(x, 100 + dy) == once) << radius << " row " << dy << " blended twice";
        width += at(x, 100 + dy) == once;
      }
      const std::size_t ady = dy < 0 ? -dy : dy;
      EXPECT_EQ(width, ady < widths.size() ? widths[ady] : 0) << "radius " << radius << " row " << dy;
    }
  }
  gfx_circle(nullptr, 200, 200, 0, 0xFFFFFFFF);
  EXPECT_EQ(count_colour(0xFFFFFFFF), 1);
  gfx_circle(nullptr, 0, 0, 3, 0xFFABCDEF);  // clipped at the edge, nothing wraps round
  EXPECT_EQ(at(3, 0), 0xFFABCDEFu);
  EXPECT_EQ(gfx_point(nullptr, 639, 479), 0xFF000000u);
}

// A disc is the same wherever its integer centre lies (while its left end, truncated toward
// zero, is not left of the page), so one cut by the page's edges must be the whole disc drawn in
// the middle, moved there and cut: nothing wraps into a neighbouring row.
TEST_F(Gfx, DiscsCutByThePageEdgesAreTheWholeDiscMovedAndCut) {
  std::uint32_t seed = 5;
  auto next = [&](int n) { return static_cast<int>((seed = seed * 1664525u + 1013904223u) >> 8) % n; };
  const Colour once = gfx_blend_primitive(0xFF000000, 0x80FFFFFF);
  for (int k = 0; k < 300; ++k) {
    const float radius = static_cast<float>(next(400)) / 10.0f;
    const int r = static_cast<int>(radius);
    // Also the first row's ends exactly on the page's last column and one past it.
    const int cy = k % 4 < 2 ? next(520) - 20 : (k % 3 ? next(60) - 30 : 450 + next(60));
    const int cx = k % 2 ? r + 1 + next(5) : (k % 6 == 0 ? 639 - r + (k / 6) % 2 : 610 + next(60));
    gfx_cls();
    gfx_circle(nullptr, 320, 240, radius, 0x80FFFFFF);
    const std::vector<Colour> middle = page()->pixels;
    gfx_cls();
    gfx_circle(nullptr, static_cast<float>(cx), static_cast<float>(cy), radius, 0x80FFFFFF);
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 640; ++x) {
        const int mx = x - cx + 320, my = y - cy + 240;
        const bool in = mx >= 0 && mx < 640 && my >= 0 && my < 480 && middle[static_cast<std::size_t>(my) * 640 + mx] == once;
        ASSERT_EQ(at(x, y), in ? once : 0xFF000000u) << "disc " << radius << " at " << cx << "," << cy << ", pixel " << x << "," << y;
      }
  }
}

TEST_F(Gfx, FilledBoxCoversBothCornersAndLinesIncludeTheirEnds) {
  gfx_line(nullptr, 12, 7, 10, 5, 0xFF112233, kLineFilledBox);
  EXPECT_EQ(count_colour(0xFF112233), 9);
  gfx_line(nullptr, 50, 50, 57, 53, 0xFF445566, kLinePlain);
  EXPECT_EQ(at(50, 50), 0xFF445566u);
  EXPECT_EQ(at(57, 53), 0xFF445566u);
  EXPECT_EQ(count_colour(0xFF445566), 8);  // one pixel per column of the longer axis
}

TEST_F(Gfx, FloodFillStopsAtTheBorderAndReachesEveryEnclosedPixel) {
  // A box outline with a notch; the fill must find the notch run too.
  const Colour border = 0xFFAB00AB, fill = 0xFFF000F0;
  gfx_line(nullptr, 10, 10, 30, 10, border);
  gfx_line(nullptr, 10, 20, 30, 20, border);
  gfx_line(nullptr, 10, 10, 10, 20, border);
  gfx_line(nullptr, 30, 10, 30, 20, border);
  gfx_line(nullptr, 20, 11, 20, 18, border);  // a wall with a gap at the bottom row
  gfx_paint(nullptr, 15, 15, fill, border);
  EXPECT_EQ(count_colour(fill), 19 * 9 - 8);
  EXPECT_EQ(at(25, 12), fill);
  EXPECT_EQ(at(5, 5), 0xFF000000u);
  // Starting on the border fills nothing.
  gfx_paint(nullptr, 10, 10, 0xFF00FF00, border);
  EXPECT_EQ(count_colour(0xFF00FF00), 0);

  // Slanted shapes, as kamikazes are drawn: rows inside them may meet only at a run's last
  // pixel, which a scan of the neighbouring row must still look at (the 45-degree corridor
  // meets only there). Checked against a plain four-way walk from the seed.
  // Each shape: its corners, then a seed inside it.
  const std::vector<std::vector<float>> shapes = {{100, 100, 180, 130, 110, 160, 130, 130},
                                                  {300, 300, 240, 330, 305, 345, 282, 325},
                                                  {400, 50, 403, 50, 503, 150, 500, 150, 402, 51}};
  for (const auto& p : shapes) {
    SCOPED_TRACE(p[0]);
    gfx_cls();
    const std::size_t n = p.size() - 2;
    for (std::size_t i = 0; i < n; i += 2) gfx_line(nullptr, p[i], p[i + 1], p[(i + 2) % n], p[(i + 3) % n], border);
    const int sx = static_cast<int>(p[n]), sy = static_cast<int>(p[n + 1]);
    std::vector<bool> seen(640 * 480);
    std::vector<std::pair<int, int>> todo = {{sx, sy}};
    int expected = 0;
    while (!todo.empty()) {
      const auto [x, y] = todo.back();
      todo.pop_back();
      if (x < 0 || y < 0 || x >= 640 || y >= 480 || seen[y * 640 + x] || at(x, y) == border) continue;
      seen[y * 640 + x] = true;
      ++expected;
      todo.insert(todo.end(), {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}});
    }
    ASSERT_TRUE(expected > 100 && expected < 10000) << "the seed lies inside the shape";
    gfx_paint(nullptr, static_cast<float>(sx), static_cast<float>(sy), fill, border);
    EXPECT_EQ(count_colour(fill), expected);
  }
}

TEST_F(Gfx, TranslucentFloodFillBlendsEveryPixelExactlyOnce) {
  const Colour border = 0xFFFFFFFF;
  gfx_line(nullptr, 0, 5, 639, 5, border);
  gfx_paint(nullptr, 100, 2, 0x80FF0000, border);
  const Colour once = gfx_blend_primitive(0xFF000000, 0x80FF0000);
  EXPECT_EQ(count_colour(once), 640 * 5);
  EXPECT_EQ(at(0, 6), 0xFF000000u);
}

// Small images in mode 7 are put through summands kept from one put to the next: they must
// follow the image when it is drawn on, the alpha and which image it is, and clip like any put;
// a hand-made image (never stamped) is read afresh every time.
TEST_F(Gfx, SmallAdditiveImagesFollowTheirContentAlphaAndClipping) {
  std::uint32_t seed = 99;
  auto next = [&] { return seed = seed * 1664525u + 1013904223u; };
  for (Colour& c : page()->pixels) c = next();
  std::vector<Colour> want = page()->pixels;
  auto put = [&](Image* sprite, int px, int py, int alpha) {
    gfx_put(nullptr, static_cast<float>(px), static_cast<float>(py), sprite, kPutAdditive, alpha);
    for (int y = 0; y < sprite->height; ++y)
      for (int x = 0; x < sprite->width; ++x)
        if (px + x >= 0 && px + x < 640 && py + y >= 0 && py + y < 480) {
          row_additive_reference(&want[static_cast<std::size_t>(py + y) * page()->stride + px + x], &sprite->row(y)[x], 1,
                                 static_cast<std::uint32_t>(alpha));
        }
    return page()->pixels == want;
  };
  Image* sprites[3] = {gfx_image_create(18, 18), gfx_image_create(32, 5), gfx_image_create(33, 3)};
  for (Image* sprite : sprites)
    for (int y = 0; y < sprite->height; ++y)
      for (int x = 0; x < sprite->width; ++x) sprite->row(y)[x] = next() % 5 == 0 ? kMaskColour : next();
  for (int k = 0; k < 400; ++k) {
    Image* sprite = sprites[next() % 4 == 0 ? 1 + next() % 2 : 0];
    if (k % 50 == 49) gfx_pset(sprite, static_cast<float>(next() % 18), static_cast<float>(next() % 3), next() | 0xFF000000u);
    const int alpha = k < 200 ? 132 : static_cast<int>(next() & 0xFF);
    const int px = static_cast<int>(next() % 680) - 30, py = static_cast<int>(next() % 520) - 30;
    ASSERT_TRUE(put(sprite, px, py, alpha)) << "put " << k << " at " << px << "," << py << " alpha " << alpha;
  }
  for (Image* sprite : sprites) gfx_image_destroy(sprite);

  Image by_hand;
  by_hand.width = by_hand.height = by_hand.stride = 8;
  by_hand.pixels.assign(64, 0xFF102030u);
  for (int k = 0; k < 3; ++k) {
    by_hand.pixels[static_cast<std::size_t>(9 * k)] = 0xFFFFFFFFu;
    ASSERT_TRUE(put(&by_hand, 100, 100, 132)) << "by hand, put " << k;
  }
}

// The background cross-fade's two whole-page blends in one call: the pixels of the two puts,
// whether it makes its one pass or goes the long way (alpha 0 or 255, a source with the mask
// colour, even one drawn in since the last call, a page, an image of another size).
TEST_F(Gfx, BlendPairPutsThePixelsOfTwoBlendPuts) {
  std::uint32_t seed = 5;
  auto next = [&] { return seed = seed * 1664525u + 1013904223u; };
  auto noise = [&](Image* image) {
    for (Colour& c : image->pixels) c = (c = next(), (c & 0x00FFFFFFu) == 0x00FF00FFu ? c ^ 1 : c);
  };
  Image* a = gfx_image_create(640, 480);
  Image* b = gfx_image_create(640, 480);
  Image* narrow = gfx_image_create(320, 480);
  Image* short_one = gfx_image_create(640, 240);
  for (Image* image : {a, b, narrow, short_one}) noise(image);
  auto check = [&](const Image* first, int a1, const Image* second, int a2) {
    noise(page());
    const std::vector<Colour> start = page()->pixels;
    gfx_put(nullptr, 0, 0, first, kPutBlend, a1);
    gfx_put(nullptr, 0, 0, second, kPutBlend, a2);
    const std::vector<Colour> want = page()->pixels;
    page()->pixels = start;
    gfx_put_blend_pair(nullptr, first, a1, second, a2);
    return page()->pixels == want;
  };
  for (int f = 4; f <= 255; f = f == 252 ? 255 : f + 4) ASSERT_TRUE(check(a, 255 - f, b, f)) << "fade " << f;
  EXPECT_TRUE(check(b, 1, a, 254));
  EXPECT_TRUE(check(a, 200, b, 0));
  EXPECT_TRUE(check(a, 100, b, 255));
  EXPECT_TRUE(check(a, 255, b, 100));
  gfx_pset(a, 639, 479, 0xFFFF00FFu);
  EXPECT_TRUE(check(a, 100, b, 155)) << "the mask colour drawn into the first";
  EXPECT_TRUE(check(b, 100, a, 155)) << "the mask colour drawn into the second";
  EXPECT_TRUE(check(narrow, 100, b, 155)) << "a narrower image";
  EXPECT_TRUE(check(b, 100, short_one, 155)) << "a shorter image";
  Image* other_page = gfx_page(1 - gfx_work_page_index());
  noise(other_page);
  EXPECT_TRUE(check(other_page, 100, b, 155)) << "the other page";
  other_page->row(7)[7] = kMaskColour;  // written directly: no new stamp
  EXPECT_TRUE(check(other_page, 100, b, 155)) << "the other page written directly";
  for (Image* image : {a, b, narrow, short_one}) gfx_image_destroy(image);
}

// A whole picture blended onto the page (the menus' background, every frame) takes a faster way
// when it holds no mask colour: the same byte rule at any alpha, put anywhere, and once the mask
// colour is drawn into it.
TEST_F(Gfx, WholePicturesBlendByTheByteRule) {
  std::uint32_t seed = 77;
  auto next = [&] { return seed = seed * 1664525u + 1013904223u; };
  Image* picture = gfx_image_create(640, 480);
  for (Colour& c : picture->pixels) c = (c = next(), (c & 0x00FFFFFFu) == 0x00FF00FFu ? c ^ 1 : c);
  auto check = [&](int px, int py, int alpha) {
    for (Colour& c : page()->pixels) c = next();
    const std::vector<Colour> before = page()->pixels;
    gfx_put(nullptr, static_cast<float>(px), static_cast<float>(py), picture, kPutBlend, alpha);
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 640; ++x) {
        Colour want = before[static_cast<std::size_t>(y) * page()->stride + x];
        if (x >= px && y >= py && x - px < 640 && y - py < 480)
          row_blend_reference(&want, picture->row(y - py) + (x - px), 1, static_cast<std::uint32_t>(alpha) + 1);
        if (at(x, y) != want) return false;
      }
    return true;
  };
  for (int alpha : {1, 100, 254, 255}) EXPECT_TRUE(check(0, 0, alpha)) << alpha;
  EXPECT_TRUE(check(3, 0, 100));
  EXPECT_TRUE(check(0, 2, 100));
  EXPECT_TRUE(check(-1, 0, 100));
  gfx_pset(picture, 0, 479, kMaskColour | 0xFF000000u);
  EXPECT_TRUE(check(0, 0, 100)) << "the mask colour drawn in";
  // Made by hand, never stamped: its mask colour is seen all the same.
  Image* stamped = picture;
  Image by_hand = *picture;
  by_hand.stamp = 0;
  picture = &by_hand;
  EXPECT_TRUE(check(0, 0, 100)) << "made by hand";
  gfx_image_destroy(stamped);
}

}  // namespace
