#pragma once
// Shared set-up of the round tests: pages, uniform pictures, a fresh game, held keys, and a
// record of the shots and sounds the round asks for.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>

#include "assets/images.h"
#include "audio/audio.h"
#include "gfx/gfx.h"
#include "headless/headless_platform.h"
#include "line/round_calls.h"
#include "line/weapons.h"
#include "state/reset_game.h"
#include "state/round_state.h"
#include "state/tables.h"
#include "system/input.h"

namespace round_test {

struct Shot { int weapon; double angle; int gun; };
inline Shot shots[64];
inline int sounds[4096], shot_count = 0, sound_count = 0;
inline void record_shot(int weapon, double angle, int gun) { shots[shot_count++ % 64] = {weapon, angle, gun}; }
inline void record_sound(std::int32_t sound) { sounds[sound_count++ % 4096] = sound; }
inline int sounds_of(int handle) {
  return static_cast<int>(std::count(sounds, sounds + std::min(sound_count, 4096), handle));
}

// A new game as the menu leaves it, already faded in, with no enemies: the reset leaves the wave
// counts at the zero they start from.
class RoundTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gfx_open_screen(640, 480, 32, 2, 64, 0);
    for (int i = 1; i <= 4; ++i) {
      if (!background_images[i]) background_images[i] = gfx_image_create(640, 480);
      // White, so that the opacity of the round's snapshot reads back from one pixel.
      gfx_line(background_images[i], 0, 0, 639, 479, 0xFFFFFFFF, kLineFilledBox);
    }
    if (!snapshot_image) snapshot_image = gfx_image_create(640, 480);
    for (int i = 1; i <= 10; ++i) {
      if (!ball_sprites[i]) ball_sprites[i] = gfx_image_create(18, 18);
      if (!powerup_sprites[i]) powerup_sprites[i] = gfx_image_create(18, 18);
    }
    input_release_all_keys();
    while (!key_read().empty()) continue;
    round_state = RoundState{};
    round_state.speed_factor = 1.2f;
    for (int i = 1; i <= kTrailSlots; ++i) rotation_trail[i].life = 0;
    reset_game();
    round_state.fade_alpha = 255;
    round_state.glow_pulse = 250;
    shot_count = sound_count = 0;
    round_spawn_projectile = record_shot;
    round_play_sound = record_sound;
  }
  void TearDown() override {
    platform_install(nullptr);
    round_spawn_projectile = spawn_projectile;
    round_play_sound = audio_play_sound;
  }
  static void hold(int scancode) { input_key_event(scancode, true); }
};

inline ScriptEvent down_at(std::int64_t ms, int key) { return {ms, ScriptEvent::Kind::Down, key, 0}; }
inline ScriptEvent up_at(std::int64_t ms, int key) { return {ms, ScriptEvent::Kind::Up, key, 0}; }

// True when the text drawn at (x, y) on the page shows exactly the pixels that the same text
// in the same colour leaves on black, and none of its ink elsewhere in its box.
inline bool text_matches(const Image& page, int x, int y, std::string_view text, Colour colour) {
  static Image* scratch = gfx_image_create(640, 16);
  gfx_line(scratch, 0, 0, 639, 15, 0xFF000000, kLineFilledBox);
  gfx_draw_text(scratch, 0, 0, text, colour);
  const int width = static_cast<int>(text.size()) * 8;
  Colour ink = 0xFF000000;
  for (int i = 0; i < 8 * width && ink == 0xFF000000; ++i) ink = scratch->row(i / width)[i % width];
  for (int row = 0; row < 8; ++row)
    for (int col = 0; col < width; ++col) {
      const Colour want = scratch->row(row)[col], got = page.row(y + row)[x + col];
      if (want != 0xFF000000 ? got != want : got == ink) return false;
    }
  return true;
}

}  // namespace round_test
