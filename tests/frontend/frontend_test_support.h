#pragma once
// Shared set-up for the front-end tests: a fresh display and images, a headless clock with
// scripted keys, and probes that tell what a presented page shows.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
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

constexpr Colour kIconColour = 0xFF123456;
constexpr Colour kLabel = 0xFF9191FF;

inline void make_images() {
  auto fresh = [](Image*& image, int w, int h, Colour c) {
    gfx_image_destroy(image);
    image = gfx_image_create(w, h);
    std::fill(image->pixels.begin(), image->pixels.end(), c);
  };
  for (int i = 1; i <= 4; ++i) fresh(background_images[i], 640, 480, 0xFF204060);
  fresh(snapshot_image, 640, 480, 0);
  for (int i = 1; i <= 10; ++i) {
    fresh(powerup_sprites[i], 18, 18, kIconColour + static_cast<Colour>(i));
    fresh(ball_sprites[i], 18, 18, 0);
  }
}

// A key held from `at` for `held` ms; a code typed at `at`.
struct Key {
  int scancode;
  std::int64_t at, held = 60;
};
struct Typed {
  std::uint16_t code;
  std::int64_t at;
};

// True when every pixel that `text` sets (drawn alone) has exactly `colour` on the page.
inline bool text_shown(const Image& page, float x, float y, std::string_view text, Colour colour) {
  Image* scratch = gfx_image_create(640, 480);
  std::fill(scratch->pixels.begin(), scratch->pixels.end(), 0u);
  gfx_draw_text(scratch, x, y, text, 0xFFFFFFFF);
  bool any = false, all = true;
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x)
      if (scratch->row(y)[x] != 0u) {
        any = true;
        all = all && page.row(y)[x] == colour;
      }
  gfx_image_destroy(scratch);
  return any && all;
}

inline bool all_black(const Image& page) {
  for (int y = 0; y < 480; ++y)
    if (!std::all_of(page.row(y), page.row(y) + 640, [](Colour c) { return c == 0xFF000000u; })) return false;
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

  void keys(const std::vector<Key>& held, const std::vector<Typed>& typed = {}) {
    std::vector<ScriptEvent> s;
    for (const Key& k : held) {
      s.push_back({k.at, ScriptEvent::Kind::Down, k.scancode, 0});
      s.push_back({k.at + k.held, ScriptEvent::Kind::Up, k.scancode, 0});
    }
    for (const Typed& t : typed) s.push_back({t.at, ScriptEvent::Kind::Type, 0, t.code});
    std::stable_sort(s.begin(), s.end(), [](const ScriptEvent& a, const ScriptEvent& b) { return a.at_ms < b.at_ms; });
    backend.set_script(s);
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
  void keep_last_page() {
    backend.set_present_hook([this](const Image& page, std::int64_t) { last = page; });
  }

  HeadlessPlatform backend;
  std::filesystem::path old_dir, dir;
  Image last;
};

}  // namespace frontend_test
