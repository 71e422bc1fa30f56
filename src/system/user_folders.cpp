// The player's own folders as a desktop names them.
#include "system/user_folders.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// A relative XDG path is to be ignored, so a stray setting cannot scatter files about.
std::string xdg_folder(const char* variable, const char* fallback_under_home) {
  const char* set = std::getenv(variable);
  if (set && set[0] == '/') return std::string(set) + "/torvane";
  const char* home = std::getenv("HOME");
  if (!home || home[0] != '/') return {};
  return std::string(home) + "/" + fallback_under_home + "/torvane";
}

bool is_file(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

}  // namespace

std::string user_data_folder() { return xdg_folder("XDG_DATA_HOME", ".local/share"); }

std::string user_config_folder() { return xdg_folder("XDG_CONFIG_HOME", ".config"); }

std::string installed_data_folder() {
  std::error_code ec;
  const fs::path program = fs::read_symlink("/proc/self/exe", ec);
  if (ec || program.empty()) return {};
  return (program.parent_path().parent_path() / "share" / "torvane").string();
}

std::string music_file(std::string_view name) {
  const std::string local = "Sounds/" + std::string(name);
  if (is_file(local)) return local;
  for (const std::string& folder : {user_data_folder(), installed_data_folder()}) {
    if (folder.empty()) continue;
    std::string path = folder + "/" + local;
    if (is_file(path)) return path;
  }
  return local;
}

bool make_folders(const std::string& folder) {
  std::error_code ec;
  fs::create_directories(folder, ec);
  return fs::is_directory(folder, ec);
}
