#pragma once
// Shared set-up for the front-end tests: a fresh display and images, a headless clock with
// scripted keys, and probes that tell what a presented page shows.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "assets/images.h"
#include "files/high_score_file.h"
#include "gfx/gfx.h"
#include "headless/headless_platform.h"
#include "screens/high_scores.h"
#include "screens/item_list.h"
#include "state/round_state.h"
#include "system/input.h"
#include "tools/runner_process.h"

namespace screens_test {

// The fixture keeps the table in the working folder.
constexpr const char* kHighScoreFolder = "data";
constexpr const char* kHighScorePath = "data/hs.dat";

// Files a save left beside the table (its temporary files are hs.dat.XXXXXX).
inline int stray_temp_files() {
  int n = 0;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(kHighScoreFolder, ec))
    n += entry.path().filename().string().starts_with("hs.dat.");
  return n;
}

constexpr Colour kLabel = 0xFF9191FF;

// The table's access checks as an ordinary user meets them: root passes every one.
inline int owner_access(const char* path, int mode) {
  struct stat st {};
  if (stat(path, &st) != 0) return -1;
  const bool refused = ((mode & R_OK) && !(st.st_mode & S_IRUSR)) || ((mode & W_OK) && !(st.st_mode & S_IWUSR));
  if (refused) errno = EACCES;
  return refused ? -1 : 0;
}

// Plain images where start-up would make them.
inline void make_images() {
  for (int i = 1; i <= 10; ++i) {
    if (i <= 4 && !background_images[i]) background_images[i] = gfx_image_create(640, 480);
    if (!powerup_sprites[i]) powerup_sprites[i] = gfx_image_create(18, 18);
    if (!ball_sprites[i]) ball_sprites[i] = gfx_image_create(18, 18);
  }
  if (!snapshot_image) snapshot_image = gfx_image_create(640, 480);
}

// A key held from `at` for `held` ms; a code typed at `at`.
struct Key { int scancode; std::int64_t at, held = 60; };
struct Typed { std::uint16_t code; std::int64_t at; };

// True when every pixel that `text` sets (drawn alone on a 640-wide page) has exactly `colour`.
inline bool text_shown(const Image& page, float x, float y, std::string_view text, Colour colour) {
  Image scratch{640, 480, 640, std::vector<Colour>(640 * 480, 0u)};
  gfx_draw_text(&scratch, x, y, text, 0xFFFFFFFF);
  bool any = false;
  for (std::size_t i = 0; i < scratch.pixels.size(); ++i)
    if (scratch.pixels[i] != 0u && (any = true) && page.pixels[i] != colour) return false;
  return any;
}

// The eight lines of the high-score file as the game reads them.
inline std::vector<std::string> read_lines() {
  read_high_score_file();
  return {hs_lines + 1, hs_lines + 9};
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
    std::tie(menu_state.menu_item, menu_state.menu_marker_y, round_state.fade_alpha) = std::tuple(1, 10, 255);
    input_release_all_keys();
    while (!key_read().empty()) {
    }
    char pattern[] = "/tmp/torvane_screens_XXXXXX";
    std::filesystem::current_path(dir = mkdtemp(pattern));
    // Nothing a test does may reach the real home's settings or scores.
    setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
    setenv("XDG_DATA_HOME", (dir / "share").c_str(), 1);
    keep_high_scores_in_working_folder(true);
  }
  void TearDown() override {
    std::filesystem::current_path(old_dir);
    std::filesystem::remove_all(dir);
    platform_install(nullptr);
  }

  void keys(const std::vector<Key>& held, const std::vector<Typed>& typed = {}) {
    using enum ScriptEvent::Kind;
    std::vector<ScriptEvent> s;
    for (const Key& k : held) s.insert(s.end(), {{k.at, Down, k.scancode, 0}, {k.at + k.held, Up, k.scancode, 0}});
    for (const Typed& t : typed) s.push_back({t.at, Type, 0, t.code});
    std::stable_sort(s.begin(), s.end(), [](const ScriptEvent& a, const ScriptEvent& b) { return a.at_ms < b.at_ms; });
    backend.set_script(s);
  }
  // Runs a screen until it returns (true) or the clock reaches stop_ms (false).
  bool run_until(void (*screen)(), std::int64_t stop_ms) {
    backend.set_stop_at_ms(stop_ms);
    try {
      screen();
      return true;
    } catch (const ProgramExit&) {
      return false;
    }
  }

  HeadlessPlatform backend;
  std::filesystem::path old_dir = std::filesystem::current_path(), dir;
  Image last;
};

}  // namespace screens_test
