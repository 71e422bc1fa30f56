#pragma once
// The player's settings, kept in torvane.cfg in the user's config folder as lines
// "music_volume = N", "effects_volume = N" (N one of 0, 25, 50, 75, 100) and
// "full_screen = yes|no", and when set "score_server = URL" (http or https) and
// "player_name = NAME" (1 to 16 letters and digits). Reading is forgiving: anything not
// understood is passed over.
#include <cstddef>
#include <string>
#include <string_view>

struct Settings {
  int music_level = 0;    // 0..4, a quarter of full volume each
  int effects_level = 0;  // 0..4
  bool full_screen = false;
  char score_server[256] = "";  // "": none; nothing is ever sent without one
  char player_name[17] = "";
};

// A server address the settings keep: http:// or https:// and no spaces or controls.
bool valid_score_server(std::string_view url);
// 1 to 16 letters and digits, as the server takes them.
bool valid_name_setting(std::string_view name);

// The settings a text holds; lines it cannot read leave the defaults.
Settings parse_settings(std::string_view text);
// The file's text for these settings into out; its length (0 when it does not fit).
std::size_t format_settings(const Settings& settings, char* out, std::size_t capacity);

// <config folder>/torvane.cfg; empty when there is no config folder.
std::string settings_path();
// The settings in the file; the defaults when it is missing or cannot be read.
Settings load_settings();
// Replaces the file in one step; false (and the old file untouched) when it cannot. Makes no
// heap allocation once load_settings has run, so a round may save.
bool save_settings(const Settings& settings);
