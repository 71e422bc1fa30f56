// gfx_put: whole-image blits in the four put modes the game uses.
#include <algorithm>
#include <cstring>

#include "gfx/gfx_internal.h"
#include "gfx/pixel_rows.h"

namespace {

void row_copy(Colour* dst, const Colour* src, int n) {
  std::memcpy(dst, src, static_cast<std::size_t>(n) * sizeof(Colour));
}

// Mode 7 adds floor(s * alpha / 256) to every byte, saturating, and nothing under the mask
// colour: a plain saturating add of an image of those summands (and times puts in a row add
// times as much, saturating). The laser puts one glow sprite some 300 times a frame, so the
// summands of the last small image put in mode 7 are kept, named by its stamp (unique to one
// content of one image), and each put after the first is a bare add. Static, so no round
// allocates.
constexpr int kSummandsSize = 32;
struct Summands {
  std::uint64_t stamp = 0;
  std::uint32_t alpha = 0;
  int times = 0;
  Colour rows[kSummandsSize][kSummandsSize];
};
Summands summands;

// The summands of a small image, or null for an image too large to keep or one the layer has
// never stamped (made by hand, its content unnamed).
const Summands* summands_of(const Image& image, std::uint32_t alpha, int times) {
  if (image.width > kSummandsSize || image.height > kSummandsSize || image.stamp == 0) return nullptr;
  if (summands.stamp != image.stamp || summands.alpha != alpha || summands.times != times) {
    for (int y = 0; y < image.height; ++y)
      row_additive_summands(summands.rows[y], image.row(y), image.width, alpha, times);
    summands.stamp = image.stamp;
    summands.alpha = alpha;
    summands.times = times;
  }
  return &summands;
}

// Whether an image holds the mask colour anywhere, kept for the last few contents (named by
// their stamps; an image never stamped is looked through every time): whole backgrounds are
// blended every frame of a cross-fade and of the menus.
bool has_mask_colour(const Image& image) {
  struct Seen {
    std::uint64_t stamp = 0;
    bool masked = false;
  };
  static Seen seen[4];
  static int next = 0;
  for (const Seen& s : seen)
    if (s.stamp == image.stamp && s.stamp != 0) return s.masked;
  bool masked = false;
  for (int y = 0; y < image.height && !masked; ++y)
    masked = std::any_of(image.row(y), image.row(y) + image.width, is_mask);
  seen[next] = {image.stamp, masked};
  next = (next + 1) % 4;
  return masked;
}

// A whole image of the target's size that no drawing can change unseen.
bool blends_whole(const Image* image, const Image& dst) {
  return image && image != &dst && !gfx_is_page(image) && image->width == dst.width && image->height == dst.height &&
         !has_mask_colour(*image);
}

int put(Image* target, float x, float y, const Image* image, int mode, int alpha, int times) {
  Image* dst = gfx_draw_target(target);
  if (!dst || !image) return 1;
  const int px = round_coord(x), py = round_coord(y);
  const int x0 = std::max(0, px), y0 = std::max(0, py);
  const int x1 = std::min(dst->width, px + image->width);
  const int y1 = std::min(dst->height, py + image->height);
  if (x0 >= x1 || y0 >= y1) return 0;
  const int n = x1 - x0;
  const std::uint32_t a = static_cast<std::uint32_t>(alpha) & 0xFFu;
  // Mode 9 with alpha 0 is not blended at all: it draws like mode 0.
  if (mode == kPutBlend && a == 0) mode = kPutTransparent;
  if (image == dst && mode == kPutCopy) return 0;  // an image copied onto itself
  if (mode == kPutCopy && px == 0 && py == 0 && image->width == dst->width && image->height == dst->height) {
    restore_page(*dst, *image);  // the background of a frame
    return 0;
  }
  if (mode != kPutCopy && mode != kPutTransparent && mode != kPutAdditive && mode != kPutBlend) return 1;
  note_drawn_rect(*dst, x0, y0, x1 - 1, y1 - 1);
  // The menus' and final score's background: a whole picture blended every frame.
  if (mode == kPutBlend && a < 255 && px == 0 && py == 0 && blends_whole(image, *dst)) {
    for (int yy = 0; yy < y1; ++yy) row_blend_unmasked(dst->row(yy), image->row(yy), n, a + 1);
    return 0;
  }
  if (mode == kPutAdditive && image != dst) {  // an image put onto itself reads what it wrote
    if (const Summands* add = summands_of(*image, a, times)) {
      for (int yy = y0; yy < y1; ++yy) row_add_saturate(dst->row(yy) + x0, add->rows[yy - py] + (x0 - px), n);
      return 0;
    }
  }
  for (int yy = y0; yy < y1; ++yy) {
    Colour* d = dst->row(yy) + x0;
    const Colour* s = image->row(yy - py) + (x0 - px);
    switch (mode) {
      case kPutTransparent: row_transparent(d, s, n); break;
      case kPutCopy: row_copy(d, s, n); break;
      case kPutAdditive: row_additive(d, s, n, a, times); break;
      case kPutBlend: row_blend(d, s, n, a + 1); break;
      default: return 1;
    }
  }
  return 0;
}

}  // namespace

int gfx_put_blend_pair(Image* target, const Image* first, int first_alpha, const Image* second, int second_alpha) {
  const std::uint32_t a1 = static_cast<std::uint32_t>(first_alpha) & 0xFFu;
  const std::uint32_t a2 = static_cast<std::uint32_t>(second_alpha) & 0xFFu;
  Image* dst = gfx_resolve_target(target);
  // Alpha 0 draws like mode 0 and alpha 255 weighs 256: those go the long way.
  if (!dst || a1 == 0 || a2 == 0 || a1 == 255 || a2 == 255 || !blends_whole(first, *dst) || !blends_whole(second, *dst)) {
    const int failed = gfx_put(target, 0, 0, first, kPutBlend, first_alpha);
    return gfx_put(target, 0, 0, second, kPutBlend, second_alpha) | failed;
  }
  gfx_draw_target(target);
  note_drawn_rect(*dst, 0, 0, dst->width - 1, dst->height - 1);
  for (int y = 0; y < dst->height; ++y) row_blend_pair(dst->row(y), first->row(y), second->row(y), dst->width, a1 + 1, a2 + 1);
  return 0;
}

int gfx_put(Image* target, float x, float y, const Image* image, int mode, int alpha) {
  return put(target, x, y, image, mode, alpha, 1);
}

int gfx_put_additive(Image* target, float x, float y, const Image* image, int alpha, int times) {
  if (times < 1) return 0;  // nothing to put
  return put(target, x, y, image, kPutAdditive, alpha, times);
}
