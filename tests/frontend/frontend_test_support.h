#pragma once
// Shared set-up for the front-end tests: a fresh display and images, a headless clock with
// scripted keys, and probes that tell which page a presented frame shows.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "frame/gfx.h"
#include "frame/i_platform.h"
#include "frame/images.h"
#include "frame/input.h"
#include "headless/headless_platform.h"
#include "round/round_state.h"

namespace frontend_test {

constexpr Colour kBackgroundColour = 0xFF204060;
constexpr Colour kIconColour = 0xFF123456;

inline void make_images() {
  for (int i = 1; i <= 4; ++i) {
    gfx_image_destroy(background_images[i]);
    background_images[i] = gfx_image_create(640, 480);
    std::fill(background_images[i]->pixels.begin(), background_images[i]->pixels.end(),
              kBackgroundColour);
  }
  gfx_image_destroy(snapshot_image);
  snapshot_image = gfx_image_create(640, 480);
  for (int i = 1; i <= 10; ++i) {
    gfx_image_destroy(powerup_sprites[i]);
    gfx_image_destroy(ball_sprites[i]);
    powerup_sprites[i] = gfx_image_create(18, 18);
    ball_sprites[i] = gfx_image_create(18, 18);
    std::fill(powerup_sprites[i]->pixels.begin(), powerup_sprites[i]->pixels.end(),
              kIconColour + static_cast<Colour>(i));
  }
}

// Keys held from `at` for `held` ms.
inline void press(std::vector<ScriptEvent>& s, int scancode, std::int64_t at, std::int64_t held = 60) {
  s.push_back({at, ScriptEvent::Kind::Down, scancode, 0});
  s.push_back({at + held, ScriptEvent::Kind::Up, scancode, 0});
}
inline void type(std::vector<ScriptEvent>& s, std::uint16_t code, std::int64_t at) {
  s.push_back({at, ScriptEvent::Kind::Type, 0, code});
}
inline std::vector<ScriptEvent> sorted(std::vector<ScriptEvent> s) {
  std::stable_sort(s.begin(), s.end(),
                   [](const ScriptEvent& a, const ScriptEvent& b) { return a.at_ms < b.at_ms; });
  return s;
}

// True when every pixel that `text` sets (drawn alone) has exactly `colour` on the page.
inline bool text_shown(const Image& page, float x, float y, std::string_view text, Colour colour) {
  Image* scratch = gfx_image_create(640, 480);
  std::fill(scratch->pixels.begin(), scratch->pixels.end(), 0u);
  gfx_draw_text(scratch, x, y, text, 0xFFFFFFFF);
  bool any = false, all = true;
  for (int yy = 0; yy < 480; ++yy)
    for (int xx = 0; xx < 640; ++xx)
      if (scratch->row(yy)[xx] != 0u) {
        any = true;
        if (page.row(yy)[xx] != colour) all = false;
      }
  gfx_image_destroy(scratch);
  return any && all;
}

inline bool all_black(const Image& page) {
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x)
      if (page.row(y)[x] != 0xFF000000u) return false;
  return true;
}

// A fresh display, images and round state on a headless clock; the working directory is a
// private temporary folder for the high-score file.
class FrontEndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform_install(&backend);
    gfx_open_screen(640, 480, 32, 2, 64, 0);
    gfx_set_pages(1, 0);
    make_images();
    round_state = RoundState{};
    round_state.menu_item = 1;
    round_state.menu_marker_y = 10;
    round_state.fade_alpha = 255;
    input_release_all_keys();
    while (!key_read().empty()) {
    }
    old_dir = std::filesystem::current_path();
    char pattern[] = "/tmp/torvane_frontend_XXXXXX";
    dir = mkdtemp(pattern);
    std::filesystem::current_path(dir);
  }
  void TearDown() override {
    std::filesystem::current_path(old_dir);
    std::filesystem::remove_all(dir);
    input_release_all_keys();
    platform_install(nullptr);
  }

  // Runs a screen until it returns (true) or the clock reaches stop_ms (false).
  bool run_until(const std::function<void()>& screen, std::int64_t stop_ms) {
    backend.set_stop_at_ms(stop_ms);
    try {
      screen();
    } catch (const ProgramExit&) {
      return false;
    }
    return true;
  }

  HeadlessPlatform backend;
  std::filesystem::path old_dir, dir;
};

}  // namespace frontend_test
