// The options screen.
#include "screens/options.h"

#include <string_view>

#include "audio/audio.h"
#include "base/text_buf.h"
#include "display/fades.h"
#include "display/frame_pacing.h"
#include "display/screen_switch.h"
#include "gfx/gfx.h"
#include "gfx/page_flip.h"
#include "screens/item_list.h"
#include "state/round_state.h"
#include "system/input.h"

std::int32_t music_level = 0;
std::int32_t sfx_level = 0;
std::int32_t audio_volume = 0;

namespace {

constexpr int kOptionItems = 4;
constexpr std::string_view kLevelTexts[5] = {"0 %", "25 %", "50 %", "75 %", "100 %"};
constexpr Colour kNoticeBlue = 0xFF9191FF;

std::string_view level_text(std::int32_t level) {
  return (level >= 0 && level <= 4) ? kLevelTexts[level] : kLevelTexts[0];
}

void draw_options_page() {
  draw_pulsing_background();
  step_glow_pulse();
  TextBuf<32> music, sfx, screen;
  music << "Music Volume: " << level_text(music_level);
  sfx << "SFX Volume: " << level_text(sfx_level);
  screen << "Full Screen: " << (full_screen == 2 ? "YES" : "NO");
  set_label_alphas();
  draw_item_label(1, 270, 170, music);
  draw_item_label(2, 270, 180, sfx);
  draw_item_label(3, 270, 190, screen);
  draw_item_label(4, 270, 200, "Exit");
  draw_item_marker(250);
  // A save that failed is shown where the player looks, not only on stderr.
  if (settings_save_failed()) gfx_draw_text(nullptr, 200, 230, "The settings could not be saved", kNoticeBlue);
}

// Music and effects keep volumes of their own, so the device hears about both.
void cycle_level(std::int32_t& level, std::int32_t& device_volume) {
  level += 1;
  if (level > 4) level = 0;
  audio_volume = level_volume(level);
  device_volume = audio_volume;
  audio_apply_volume();  // the hooks always exist; without a device they do nothing
  // Saved at once, so that a save that fails is shown while the player is still here.
  chosen_settings() = current_settings();
  save_chosen_settings();
}

}  // namespace

void use_settings(const Settings& settings) {
  music_level = settings.music_level;
  sfx_level = settings.effects_level;
  chosen_settings() = settings;
  full_screen = settings.full_screen ? 2 : 1;
  audio_music_volume = level_volume(music_level);
  audio_sfx_volume = level_volume(sfx_level);
  audio_apply_volume();
}

const char* chosen_score_server() { return chosen_settings().score_server; }
const char* chosen_player_name() { return chosen_settings().player_name; }

Settings current_settings() {
  // The score server and the player's name are kept as read: this page does not change them.
  Settings settings = chosen_settings();
  settings.music_level = music_level;
  settings.effects_level = sfx_level;
  return settings;
}

std::int32_t level_volume(std::int32_t level) {
  constexpr std::int32_t kVolumes[5] = {0, 63, 126, 190, 255};
  return (level >= 0 && level <= 4) ? kVolumes[level] : 0;
}

void run_options() {
  fade_out();
  for (;;) {
    advance_frame_cycle();
    begin_frame();
    sample_frame_rate();
    draw_options_page();
    step_item_keys(kOptionItems);
    slide_item_marker();
    // ENTER is latched here: one press changes a setting by one step.
    if (key_down(kKeyEnter) && menu_state.key_latch == 1) {
      menu_state.key_latch = 0;
      switch (menu_state.menu_item) {
        case 1: cycle_level(music_level, audio_music_volume); break;
        case 2: cycle_level(sfx_level, audio_sfx_volume); break;
        case 3: switch_full_screen_and_save(); break;
        case 4:
          work_page ^= 1;
          fade_out();
          return;
        default: break;
      }
    }
    if (!key_down(kKeyEnter) && !key_down(kKeyDown) && !key_down(kKeyUp)) menu_state.key_latch = 1;
    fade_in();
    end_frame();
    pace_frame();
  }
}
