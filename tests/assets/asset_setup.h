#pragma once
// The display and images as start-up makes them, with the assets generated once per test run.
#include <cstdint>

#include "assets/generate_assets.h"
#include "frame/gfx.h"
#include "frame/images.h"

inline void create_start_up_images() {
  for (int i = 1; i <= 4; ++i) background_images[i] = gfx_image_create(640, 480);
  snapshot_image = gfx_image_create(640, 480);
  for (int i = 1; i <= 10; ++i) {
    powerup_sprites[i] = gfx_image_create(18, 18);
    ball_sprites[i] = gfx_image_create(18, 18);
  }
}

inline void destroy_start_up_images() {
  gfx_image_destroy(snapshot_image);
  snapshot_image = nullptr;
  for (int i = 1; i <= 4; ++i) {
    gfx_image_destroy(background_images[i]);
    background_images[i] = nullptr;
  }
  for (int i = 1; i <= 10; ++i) {
    gfx_image_destroy(powerup_sprites[i]);
    gfx_image_destroy(ball_sprites[i]);
    powerup_sprites[i] = ball_sprites[i] = nullptr;
  }
}

// Opens the display, creates the images and generates the assets, the first time only.
inline void ensure_assets_generated() {
  static bool done = false;
  if (done) return;
  gfx_open_screen(640, 480, 32, 2, kGfxAlphaPrimitives, 0);
  gfx_set_pages(1, 0);
  create_start_up_images();
  generate_assets();
  done = true;
}

// FNV-1a over the width, the height and the pixels, row by row.
inline std::uint64_t image_checksum(const Image& image) {
  std::uint64_t h = 1469598103934665603ull;
  auto mix = [&h](std::uint32_t word) {
    for (int b = 0; b < 4; ++b) {
      h ^= (word >> (8 * b)) & 0xFFu;
      h *= 1099511628211ull;
    }
  };
  mix(static_cast<std::uint32_t>(image.width));
  mix(static_cast<std::uint32_t>(image.height));
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x) mix(image.row(y)[x]);
  return h;
}
