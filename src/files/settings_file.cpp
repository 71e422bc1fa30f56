// Reading and saving the settings file.
#include "files/settings_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "system/i_platform.h"
#include "system/plain_file.h"
#include "system/safe_save.h"
#include "system/user_folders.h"

namespace {

// Far more than any real file; a bigger one is read only this far.
constexpr std::size_t kMaxFileBytes = 16384;
constexpr std::size_t kMaxPath = 4096;

// Worked out once, so that saving later needs no allocation.
std::string& cached_path() {
  static std::string path = settings_path();
  return path;
}

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

// 0, 25, 50, 75 or 100 percent as a level 0..4; -1 for anything else.
int percent_level(std::string_view value) {
  constexpr std::string_view kPercents[5] = {"0", "25", "50", "75", "100"};
  for (int level = 0; level < 5; ++level)
    if (value == kPercents[level]) return level;
  return -1;
}

void take_line(std::string_view line, Settings& settings) {
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) return;
  const std::string_view key = trim(line.substr(0, equals));
  const std::string_view value = trim(line.substr(equals + 1));
  if (key == "music_volume" || key == "effects_volume") {
    const int level = percent_level(value);
    if (level < 0) return;
    (key == "music_volume" ? settings.music_level : settings.effects_level) = level;
  } else if (key == "score_server") {
    if (valid_score_server(value) && value.size() < sizeof settings.score_server)
      settings.score_server[value.copy(settings.score_server, value.size())] = '\0';
  } else if (key == "player_name") {
    if (valid_name_setting(value)) settings.player_name[value.copy(settings.player_name, value.size())] = '\0';
  } else if (key == "full_screen") {
    if (value == "yes") settings.full_screen = true;
    if (value == "no") settings.full_screen = false;
  }
}

// Makes every folder of path up to its last slash, in place and without allocating.
bool make_parent_folders(char* path) {
  for (char* p = path + 1; *p; ++p) {
    if (*p != '/') continue;
    *p = '\0';
    const bool made = ::mkdir(path, 0755) == 0 || errno == EEXIST;
    *p = '/';
    if (!made) return false;
  }
  return true;
}

}  // namespace

bool valid_score_server(std::string_view url) {
  if (!url.starts_with("http://") && !url.starts_with("https://")) return false;
  if (url.size() < 9 || url.size() > 255) return false;
  for (char c : url)
    if (static_cast<unsigned char>(c) <= ' ' || c == 0x7F) return false;
  return true;
}

bool valid_name_setting(std::string_view name) {
  if (name.empty() || name.size() > 16) return false;
  for (char c : name)
    if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))) return false;
  return true;
}

Settings parse_settings(std::string_view text) {
  Settings settings;
  // Some editors start a UTF-8 file with a byte-order mark; it is not part of the first key.
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    take_line(text.substr(0, end), settings);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return settings;
}

std::size_t format_settings(const Settings& settings, char* out, std::size_t capacity) {
  auto percent = [](int level) { return (level >= 0 && level <= 4) ? level * 25 : 0; };
  const int n = std::snprintf(out, capacity, "music_volume = %d\neffects_volume = %d\nfull_screen = %s\n",
                              percent(settings.music_level), percent(settings.effects_level),
                              settings.full_screen ? "yes" : "no");
  if (n <= 0 || static_cast<std::size_t>(n) >= capacity) return 0;
  std::size_t used = static_cast<std::size_t>(n);
  // Only when set, so the file of a player who never set them reads as it always did.
  const auto line = [&](const char* key, const char* value) {
    if (!value[0] || used == 0) return;
    const int m = std::snprintf(out + used, capacity - used, "%s = %s\n", key, value);
    used = (m > 0 && static_cast<std::size_t>(m) < capacity - used) ? used + static_cast<std::size_t>(m) : 0;
  };
  line("score_server", settings.score_server);
  line("player_name", settings.player_name);
  return used;
}

std::string settings_path() {
  const std::string folder = user_config_folder();
  return folder.empty() ? std::string() : folder + "/torvane.cfg";
}

namespace {

Reading read_settings_file(void*, char* out, std::size_t capacity) {
  if (cached_path().empty()) {
    std::fputs("torvane: neither XDG_CONFIG_HOME nor HOME names a folder: the settings are not kept\n", stderr);
    return {};
  }
  const PlainReadResult read = read_plain_file(cached_path().c_str(), out, capacity);
  return {0, read.outcome == PlainRead::Read ? read.size : 0};
}

Reading write_settings_file(void* context, char*, std::size_t) {
  const Settings& settings = *static_cast<const Settings*>(context);
  const std::string& path = cached_path();
  // The longest settings (a 255-character server, a 16-character name) take 360 bytes.
  char text[512];
  const std::size_t size = format_settings(settings, text, sizeof text);
  char file[kMaxPath];
  if (path.empty() || size == 0 || !follow_links(path.c_str(), file, sizeof file)) return {0, 0};
  if (!make_parent_folders(file)) return {0, 0};
  // Written aside and renamed over the old file (a link's target), so an interrupted save
  // leaves one or the other whole.
  return {replace_file(file, text, size) == Replaced::Done ? 1 : 0, 0};
}

}  // namespace

// Both go through the platform seam, so a recording carries the settings it started from and
// a replay neither reads nor writes the player's file.
Settings load_settings() {
  cached_path() = settings_path();
  static char bytes[kMaxFileBytes];
  const Reading read = platform().take_reading(ReadingKind::Settings, bytes, sizeof bytes, read_settings_file, nullptr);
  return parse_settings(std::string_view(bytes, read.size));
}

bool save_settings(const Settings& settings) {
  Settings copy = settings;
  return platform().take_reading(ReadingKind::SettingsSaved, nullptr, 0, write_settings_file, &copy).outcome == 1;
}
