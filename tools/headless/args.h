#pragma once
// The command line of torvane-headless.
#include <cstdint>
#include <string>
#include <vector>

struct FrameDump {
  std::int64_t at_ms;
  std::string path;
};

struct RunnerOptions {
  bool help = false;
  std::string script_path;          // empty: no keys
  std::int64_t until_ms = -1;       // -1: run until the program exits
  std::vector<FrameDump> frame_dumps;
  std::string workdir;              // empty: stay where we are
  double clock_origin = 1000.0;
  std::string dump_assets_dir;      // non-empty: write the generated images and exit
  int icon_size = 0;                // > 0: write the icon of this size to icon_path and exit
  std::string icon_path;
  bool autoplay = false;            // the built-in player presses the keys
  int rounds = 0;                   // > 0: stop in the menu after this many rounds (autoplay: 1)
  std::string record_path;          // non-empty: record the session into this file
  bool playback_controls = false;   // with --play: the viewer's keys and the bar
  std::string play_path;            // non-empty: replay this recording instead of keys
  std::string score_server;         // non-empty: the rounds go to this score server
};

struct ArgsParse {
  RunnerOptions options;
  std::string error;  // empty on success
};

ArgsParse parse_args(int argc, const char* const* argv);

// The --help text.
const char* usage_text();
