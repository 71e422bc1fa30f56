#pragma once
// The display and images as start-up makes them, with the assets generated once per test run.
#include "app/startup.h"
#include "assets/generate_assets.h"
#include "assets/images.h"
#include "gfx/gfx.h"
#include "headless/headless_platform.h"
#include "system/i_platform.h"

inline Colour at(const Image* image, int x, int y) { return image->row(y)[x]; }

// Generates the assets the first time only.
inline void ensure_assets_generated() {
  static bool done = false;
  if (done) return;
  HeadlessPlatform backend;
  platform_install(&backend);
  open_display_and_create_images();
  generate_assets();
  platform_install(nullptr);
  done = true;
}
