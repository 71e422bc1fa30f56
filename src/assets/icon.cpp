// The game's icon, drawn from its own generated art.
#include "assets/icon.h"

#include <algorithm>

#include "assets/images.h"
#include "gfx/gfx.h"

namespace {

constexpr int kCrop = 480;       // the background square the icon shows, from x = 80
constexpr int kCropLeft = 80;
constexpr int kBallSprite = 7;   // the tagged ball: the game's own colour
constexpr int kSpriteSize = 17;

// The mean colour of a block of the background, dimmed so the ball stands out.
Colour background_block(const Image& bg, int x0, int y0, int x1, int y1) {
  unsigned r = 0, g = 0, b = 0, n = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) {
      const Colour c = bg.row(y)[x];
      r += (c >> 16) & 0xFF;
      g += (c >> 8) & 0xFF;
      b += c & 0xFF;
      ++n;
    }
  if (n == 0) return 0xFF000000u;
  return 0xFF000000u | ((r * 3 / 5 / n) << 16) | ((g * 3 / 5 / n) << 8) | (b * 3 / 5 / n);
}

}  // namespace

void draw_icon(Image& icon, int size) {
  size = std::max(size, 16);
  icon.width = icon.height = icon.stride = size;
  icon.pixels.assign(static_cast<std::size_t>(size) * size, 0xFF000000u);
  const Image* bg = background_images[1];
  const Image* ball = ball_sprites[kBallSprite];
  // The ball fills three quarters of the icon, its pixels kept square and sharp.
  const int span = size * 3 / 4, offset = (size - span) / 2;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      Colour& out = icon.row(y)[x];
      if (bg && bg->width >= kCropLeft + kCrop && bg->height >= kCrop) {
        out = background_block(*bg, kCropLeft + x * kCrop / size, y * kCrop / size,
                               kCropLeft + (x + 1) * kCrop / size, (y + 1) * kCrop / size);
      }
      const int bx = x - offset, by = y - offset;
      if (!ball || ball->width != kSpriteSize || bx < 0 || by < 0 || bx >= span || by >= span) continue;
      const Colour c = ball->row(by * kSpriteSize / span)[bx * kSpriteSize / span];
      if (c != kMaskColour) out = c | 0xFF000000u;
    }
  }
}
