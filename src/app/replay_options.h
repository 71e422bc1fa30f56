#pragma once
// The windowed game's --record FILE and --play FILE. Other arguments are left to others.
#include <string>

struct ReplayOptions {
  std::string record_path;  // --record: write this session to the file
  std::string play_path;    // --play: show a recorded session instead of playing
  std::string error;        // one line, empty when the arguments are sound
};

ReplayOptions parse_replay_options(int argc, const char* const* argv);
