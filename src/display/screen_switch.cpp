// Window or full screen, and saving that choice.
#include "display/screen_switch.h"

#include <cstdio>

#include "gfx/gfx.h"

std::int32_t full_screen = 1;

namespace {
bool save_failed = false;
}  // namespace

Settings& chosen_settings() {
  static Settings chosen;
  return chosen;
}

void forget_screen_switch() {
  full_screen = 1;
  save_failed = false;
  chosen_settings() = Settings{};
}

// Reopening the display needs it unlocked; the frame goes on drawing afterwards.
void toggle_full_screen() {
  if (full_screen != 1 && full_screen != 2) return;
  full_screen = full_screen == 1 ? 2 : 1;
  chosen_settings().full_screen = full_screen == 2;
  gfx_unlock(-1, -1);
  gfx_open_screen(kScreenWidth, kScreenHeight, 32, 2, kGfxAlphaPrimitives | (full_screen == 2 ? kGfxFullScreen : 0), 0);
  gfx_lock();
}

void switch_full_screen_and_save() {
  toggle_full_screen();
  save_chosen_settings();
}

bool save_chosen_settings() {
  save_failed = !save_settings(chosen_settings());
  if (save_failed) std::fputs("Torvane: cannot save the settings\n", stderr);
  return !save_failed;
}

bool settings_save_failed() { return save_failed; }
