#pragma once
// The player's own folders as a desktop names them, and the folder an installed copy keeps its
// shared files in. Paths come back empty when there is no such folder (no home, say).
#include <string>
#include <string_view>

// $XDG_DATA_HOME/torvane, else ~/.local/share/torvane.
std::string user_data_folder();
// $XDG_CONFIG_HOME/torvane, else ~/.config/torvane.
std::string user_config_folder();
// <prefix>/share/torvane beside the running program's <prefix>/bin.
std::string installed_data_folder();

// The first of Sounds/<name> under the working folder, the user's data folder and the installed
// data folder that is a file; Sounds/<name> when none is.
std::string music_file(std::string_view name);

// Makes a folder and every missing folder above it; true when it is there afterwards.
bool make_folders(const std::string& folder);
