#pragma once
// The presentation layer: two 640x480 pages, off-screen images and the drawing operations.
// Pure software; the platform only ever sees the finished visible page.
#include <cstdint>
#include <string_view>
#include <vector>

#include "base/rounding.h"

using Colour = std::uint32_t;

constexpr Colour kMaskColour = 0xFFFF00FF;
constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;

// Flags of gfx_open_screen.
constexpr int kGfxFullScreen = 1;
constexpr int kGfxAlphaPrimitives = 64;

// Put modes of gfx_put.
constexpr int kPutTransparent = 0;
constexpr int kPutCopy = 1;
constexpr int kPutAdditive = 7;
constexpr int kPutBlend = 9;

// Line shapes of gfx_line.
constexpr int kLinePlain = 0;
constexpr int kLineBox = 1;
constexpr int kLineFilledBox = 2;

struct DrawnColumns;

// An off-screen pixel buffer. Rows are padded to 16 bytes like the screen format.
struct Image {
  int width = 0;
  int height = 0;
  int stride = 0;  // pixels per row
  std::vector<Colour> pixels;
  // Set anew by every drawing operation that writes into the image, unique across images, so
  // that (image, stamp) names one content.
  std::uint64_t stamp = 0;
  // The display's pages only: where the page may differ from the image last copied onto it
  // whole (see page_restore.h).
  DrawnColumns* drawn = nullptr;
  Colour* row(int y) { return pixels.data() + static_cast<std::size_t>(y) * stride; }
  const Colour* row(int y) const { return pixels.data() + static_cast<std::size_t>(y) * stride; }
};

// Display and pages. Operations return 0 on success and 1 on failure, never stopping the game.
int gfx_open_screen(int width, int height, int depth, int pages, int flags, int refresh);
bool gfx_screen_open();
// Forgets the open display and the page choice (the pages' memory stays for the next open).
void gfx_close_screen();
// Places, shows or hides the pointer over the display (x < 0 leaves it where it is); 1 when
// no display is open.
int mouse_set(int x, int y, int visible, int clip);
int gfx_set_pages(int work, int visible);
void gfx_lock();
void gfx_unlock(int first_line = -1, int last_line = -1);
int gfx_work_page_index();
// Direct access for the start-up's painters, the platform and tests. What is written through it
// is unseen by the layer's own accounts (the page restore, settled boxes), which therefore
// start afresh on both pages; write through it only until the next gfx_unlock.
Image* gfx_page(int index);

// Images. A null target means the current work page.
Image* gfx_image_create(int width, int height);
void gfx_image_destroy(Image* image);
int gfx_get(Image* target, float x1, float y1, float x2, float y2, Image* image);
int gfx_put(Image* target, float x, float y, const Image* image, int mode, int alpha = 0);
// Mode 7 put times (>= 1) times in a row, in one pass: the same pixels, as saturating sums of
// what is never negative come out alike in any grouping.
int gfx_put_additive(Image* target, float x, float y, const Image* image, int alpha, int times);
// Mode 9 puts of first and then second, both whole at 0, 0: the same pixels as the two gfx_put
// calls, in one pass when both are images of the target's size without the mask colour (the
// round's background cross-fade blends two whole pages every frame).
int gfx_put_blend_pair(Image* target, const Image* first, int first_alpha, const Image* second, int second_alpha);

// Primitives. A colour whose top byte is not 0xFF is blended into the target.
int gfx_pset(Image* target, float x, float y, Colour colour);
Colour gfx_point(Image* target, float x, float y);
// The work page for reading (null when no display is open), and gfx_point on it inline: the
// sensing reads 17 points per ball and frame.
const Image* gfx_reading_page();
inline Colour gfx_point_of(const Image* t, float x, float y) {
  if (!t) return 0xFFFFFFFFu;
  const int px = round_coord(x), py = round_coord(y);
  if (px < 0 || py < 0 || px >= t->width || py >= t->height) return 0xFFFFFFFFu;
  return t->row(py)[px];
}
int gfx_line(Image* target, float x1, float y1, float x2, float y2, Colour colour,
             int shape = kLinePlain, int style = 0xFFFF);
int gfx_circle(Image* target, float x, float y, float radius, Colour colour);
int gfx_paint(Image* target, float x, float y, Colour fill, Colour border);
void gfx_cls();
void gfx_draw_text(Image* target, float x, float y, std::string_view text, Colour colour);

// The blend of a translucent primitive colour c over a pixel d (both blend rules are lerps
// with a weight out of 256; see gfx_blend.h).
Colour gfx_blend_primitive(Colour d, Colour c);
