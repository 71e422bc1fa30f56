// Display, pages and images of the presentation layer.
#include <algorithm>

#include "gfx/gfx.h"
#include "gfx/gfx_internal.h"
#include "gfx/page_flip.h"
#include "system/i_platform.h"

namespace {

struct Display {
  bool open = false;
  bool locked = false;
  bool visible_dirty = false;  // the visible page must be brought to the screen
  int work = 0;
  int visible = 0;
  int flags = 0;
  Image pages[2];
  DrawnColumns drawn[2];
};

Display display;
std::uint64_t last_stamp = 0;
bool pages_handed_out = false;

int padded_stride(int width) { return (width + 3) / 4 * 4; }

void size_image(Image& image, int width, int height) {
  image.width = width;
  image.height = height;
  image.stride = padded_stride(width);
  image.stamp = gfx_new_stamp();
  const std::size_t needed = static_cast<std::size_t>(image.stride) * height;
  if (image.pixels.size() < needed) image.pixels.resize(needed);
}

bool valid_depth(int depth) {
  switch (depth) {
    case 1: case 2: case 4: case 8: case 15: case 16: case 24: case 32: return true;
    default: return false;
  }
}

void present_if_dirty() {
  if (display.open && display.visible_dirty) {
    display.visible_dirty = false;
    platform().present(display.pages[display.visible]);
  }
}

}  // namespace

int gfx_open_screen(int width, int height, int depth, int pages, int flags, int refresh) {
  (void)refresh;
  (void)pages;
  if (width < 1 || height < 1 || !valid_depth(depth)) return 1;
  if (width != kScreenWidth || height != kScreenHeight) return 1;  // the game's only mode
  if (!platform().open_display((flags & kGfxFullScreen) != 0)) return 1;
  display.flags = flags;
  for (int i = 0; i < 2; ++i) {
    Image& page = display.pages[i];
    size_image(page, width, height);
    std::fill(page.pixels.begin(), page.pixels.end(), 0xFF000000u);
    attach_drawn(page, &display.drawn[i]);
  }
  if (!display.open) {
    display.work = 0;
    display.visible = 0;
  }
  display.open = true;
  display.visible_dirty = true;
  gfx_internal_prepare(width, height);
  return 0;
}

bool gfx_screen_open() { return display.open; }

void gfx_close_screen() {
  display.open = display.locked = display.visible_dirty = false;
  display.work = display.visible = display.flags = 0;
  work_page = 0;
}

int mouse_set(int x, int y, int visible, int clip) {
  if (!display.open) return 1;
  if (x >= 0) {
    x = x > kScreenWidth - 1 ? kScreenWidth - 1 : x;
    y = y < 0 ? 0 : (y > kScreenHeight - 1 ? kScreenHeight - 1 : y);
  }
  platform().set_mouse(x, y, visible, clip);
  return 0;
}

int gfx_set_pages(int work, int visible) {
  if (!display.open) return 1;
  if (work > 1 || visible > 1) return 1;
  if (work < 0 && visible < 0) {
    work = 0;
    visible = 0;
  }
  if (work >= 0) display.work = work;
  if (visible >= 0 && visible != display.visible) {
    display.visible = visible;
    display.visible_dirty = true;
  }
  if (!display.locked) present_if_dirty();
  return 0;
}

void gfx_lock() { display.locked = true; }

void gfx_unlock(int first_line, int last_line) {
  (void)first_line;
  (void)last_line;
  // Drawing into the visible page itself shows at the next unlock.
  if (display.work == display.visible) display.visible_dirty = true;
  display.locked = false;
  pages_handed_out = false;
  present_if_dirty();
}

int gfx_work_page_index() { return display.work; }
Image* gfx_page(int index) {
  if (index != 0 && index != 1) return nullptr;
  for (Image& page : display.pages) forget_drawn(page);
  pages_handed_out = true;
  return &display.pages[index];
}

std::uint64_t gfx_new_stamp() { return ++last_stamp; }
bool gfx_pages_handed_out() { return pages_handed_out; }

Image* gfx_draw_target(Image* target) {
  Image* t = gfx_resolve_target(target);
  if (t) t->stamp = gfx_new_stamp();
  return t;
}

bool gfx_is_page(const Image* image) { return image == &display.pages[0] || image == &display.pages[1]; }

Image* gfx_resolve_target(Image* target) {
  if (target) return target;
  return display.open ? &display.pages[display.work] : nullptr;
}

Image* gfx_image_create(int width, int height) {
  if (!display.open || width < 1 || height < 1) return nullptr;
  Image* image = new Image;
  size_image(*image, width, height);
  std::fill(image->pixels.begin(), image->pixels.end(), kMaskColour);
  return image;
}

void gfx_image_destroy(Image* image) { delete image; }

int gfx_get(Image* target, float x1, float y1, float x2, float y2, Image* image) {
  Image* src = gfx_resolve_target(target);
  if (!src || !image) return 1;
  int ax = round_coord(x1), ay = round_coord(y1), bx = round_coord(x2), by = round_coord(y2);
  if (ax > bx) std::swap(ax, bx);
  if (ay > by) std::swap(ay, by);
  if (ax < 0 || ay < 0 || bx >= src->width || by >= src->height) return 1;
  const int w = bx - ax + 1, h = by - ay + 1;
  if (image == src) return 1;
  size_image(*image, w, h);
  forget_drawn(*image);  // a page captured into
  for (int y = 0; y < h; ++y) std::copy_n(src->row(ay + y) + ax, w, image->row(y));
  return 0;
}
