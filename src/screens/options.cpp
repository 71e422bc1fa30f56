// The options screen.
#include "screens/options.h"

#include <cstring>
#include <string>
#include <string_view>

#include "audio/audio.h"
#include "base/text_buf.h"
#include "display/fades.h"
#include "display/frame_pacing.h"
#include "display/screen_switch.h"
#include "gfx/gfx.h"
#include "gfx/page_flip.h"
#include "screens/edit_line.h"
#include "screens/item_list.h"
#include "state/round_state.h"
#include "system/i_platform.h"
#include "system/input.h"

std::int32_t music_level = 0;
std::int32_t sfx_level = 0;
std::int32_t audio_volume = 0;

namespace {

constexpr int kOptionItems = 6;
constexpr std::string_view kLevelTexts[5] = {"0 %", "25 %", "50 %", "75 %", "100 %"};
constexpr Colour kNoticeBlue = 0xFF9191FF;
// The labels start at x 270: 46 characters of 8 pixels reach the page's right edge.
constexpr std::size_t kLabelChars = 46;
// The edit line's text starts at x 150; the cursor takes one character more.
constexpr float kEditX = 150;
constexpr std::size_t kEditChars = 59;

void (*tell_score_server)(const char* url) = nullptr;

std::string_view level_text(std::int32_t level) {
  return (level >= 0 && level <= 4) ? kLevelTexts[level] : kLevelTexts[0];
}

// "<name>: <value>", the value cut with "..." where the page ends; "none" for an empty one.
TextBuf<kLabelChars> setting_label(std::string_view name, std::string_view value) {
  TextBuf<kLabelChars> label;
  label << name << ": ";
  const std::size_t room = kLabelChars - label.size();
  if (value.empty()) label << "none";
  else if (value.size() <= room) label << value;
  else label << value.substr(0, room - 3) << "...";
  return label;
}

// The line's last characters, as many as fit, then the blinking cursor.
void draw_edit_line(const EditLine& line, int blink) {
  const bool server = line.field == EditField::ScoreServer;
  gfx_draw_text(nullptr, kEditX, 245,
                server ? "The score server's address, empty for none:" : "Your name, letters and digits, empty for none:",
                kNoticeBlue);
  const std::string_view text(line.text, line.length);
  TextBuf<kEditChars + 1> shown;
  shown << (text.size() > kEditChars ? text.substr(text.size() - kEditChars) : text) << (blink > 8 ? "_" : " ");
  gfx_draw_text(nullptr, kEditX, 260, shown, kNoticeBlue);
  gfx_draw_text(nullptr, kEditX, 275, "ENTER keeps it, ESC leaves it as it was", kNoticeBlue);
  // A name's line only ever holds what the setting takes: only an address is refused.
  if (line.refused) gfx_draw_text(nullptr, kEditX, 290, "Not kept: that is no http:// or https:// address", kNoticeBlue);
}

void draw_options_page(const EditLine& line, int blink) {
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
  draw_item_label(4, 270, 200, setting_label("Score Server", chosen_score_server()));
  draw_item_label(5, 270, 210, setting_label("Player Name", chosen_player_name()));
  draw_item_label(6, 270, 220, "Exit");
  draw_item_marker(250);
  // A save that failed is shown where the player looks, not only on stderr.
  if (settings_save_failed()) gfx_draw_text(nullptr, 200, 230, "The settings could not be saved", kNoticeBlue);
  if (line.field != EditField::None) draw_edit_line(line, blink);
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

// The edit line, while it is up: the device's own keyboard is offered for it (a touch
// screen's), and taken back however the page ends.
struct Editing {
  EditLine line;
  bool opening_enter = false;  // the ENTER that opened it is still held: its repeats are no keep
  int blink = 0;

  void open(EditField field, std::string_view now) {
    // What was typed while choosing (the ENTER that opened it among them) is no part of it.
    while (!key_read().empty()) {
    }
    open_edit_line(line, field, now);
    opening_enter = true;
    platform().typing_wanted(true);
  }
  void close() {
    line.field = EditField::None;
    platform().typing_wanted(false);
  }
  ~Editing() {
    if (line.field != EditField::None) platform().typing_wanted(false);
  }
};

// Saved at once like every other option; a server kept is handed on for this run's games.
void keep(const EditLine& line) {
  Settings& chosen = chosen_settings();
  char* setting = line.field == EditField::ScoreServer ? chosen.score_server : chosen.player_name;
  std::memcpy(setting, line.text, line.length + 1);
  save_chosen_settings();
  if (line.field == EditField::ScoreServer && tell_score_server) tell_score_server(chosen.score_server);
}

// Between frames: the keys typed since the last one. True when the line was closed.
bool take_edit_keys(Editing& editing) {
  if (!key_down(kKeyEnter)) editing.opening_enter = false;
  for (std::string key = key_read(); !key.empty(); key = key_read()) {
    if (key[0] == '\r' && editing.opening_enter) continue;
    const EditStep step = edit_line_key(editing.line, key);
    if (step == EditStep::Typing) continue;
    if (step == EditStep::Keep) keep(editing.line);
    editing.close();
    return true;
  }
  return false;
}

}  // namespace

void tell_score_server_with(void (*tell)(const char* url)) { tell_score_server = tell; }

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
  // The score server and the player's name are kept where the edit line put them.
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
  Editing editing;
  for (;;) {
    advance_frame_cycle();
    // The ENTER that keeps a line, or the ESC that leaves it, is not taken by the items too.
    if (editing.line.field != EditField::None && take_edit_keys(editing)) menu_state.key_latch = 0;
    begin_frame();
    sample_frame_rate();
    editing.blink = editing.blink % 16 + 1;
    draw_options_page(editing.line, editing.blink);
    if (editing.line.field == EditField::None) step_item_keys(kOptionItems);
    slide_item_marker();
    // ENTER is latched here: one press changes a setting by one step.
    if (editing.line.field == EditField::None && key_down(kKeyEnter) && menu_state.key_latch == 1) {
      menu_state.key_latch = 0;
      switch (menu_state.menu_item) {
        case 1: cycle_level(music_level, audio_music_volume); break;
        case 2: cycle_level(sfx_level, audio_sfx_volume); break;
        case 3: switch_full_screen_and_save(); break;
        case 4: editing.open(EditField::ScoreServer, chosen_score_server()); break;
        case 5: editing.open(EditField::PlayerName, chosen_player_name()); break;
        case 6:
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
