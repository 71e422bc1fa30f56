// The windowed game's command line: --help, --version, --fullscreen and --window.
#include "app/command_line.h"

#include <cstdio>
#include <string_view>

#include "files/settings_file.h"

#ifndef TORVANE_VERSION
#define TORVANE_VERSION "unknown"
#endif

namespace {

ScreenChoice chosen_screen = ScreenChoice::Saved;

constexpr const char* kUsage =
    "usage: torvane [--fullscreen | --window] [--record FILE | --play FILE] [--score-server URL]\n"
    "A single-player arcade shooter: turn the line, shoot the balls, let them through the hole.\n"
    "\n"
    "  --fullscreen   start in full screen this time (the saved setting stays as it is)\n"
    "  --window       start in a window this time (the saved setting stays as it is)\n"
    "  --record FILE  record this session into FILE, to be played back later\n"
    "  --play FILE    play a recorded session back at its own pace (Escape stops it)\n"
    "  --score-server URL  send this run's rounds to this score server (the setting\n"
    "                 score_server in the settings file keeps one for every run)\n"
    "  --version      print the version and exit\n"
    "  --help         this text\n"
    "\n"
    "Settings: $XDG_CONFIG_HOME/torvane/torvane.cfg (~/.config/torvane/torvane.cfg).\n"
    "High scores: data/hs.dat under the working folder when it is there, otherwise\n"
    "$XDG_DATA_HOME/torvane/hs.dat (~/.local/share/torvane/hs.dat).\n"
    "Alt+Enter switches between window and full screen.\n";

}  // namespace

CommandLine read_command_line(int argc, const char* const* argv) {
  CommandLine line;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      line.exit_code = 0;
      return line;
    }
    if (arg == "--version") {
      std::printf("torvane %s\n", TORVANE_VERSION);
      line.exit_code = 0;
      return line;
    }
    if (arg == "--fullscreen" || arg == "--window") {
      const ScreenChoice wanted = arg == "--fullscreen" ? ScreenChoice::FullScreen : ScreenChoice::Window;
      if (line.screen != ScreenChoice::Saved && line.screen != wanted) {
        std::fputs("torvane: --fullscreen and --window exclude each other (see --help)\n", stderr);
        line.exit_code = 2;
        return line;
      }
      line.screen = wanted;
      continue;
    }
    if (arg == "--score-server") {
      if (i + 1 >= argc || !valid_score_server(argv[i + 1])) {
        std::fputs("torvane: --score-server needs an http:// or https:// address (see --help)\n", stderr);
        line.exit_code = 2;
        return line;
      }
      line.score_server = argv[++i];
      continue;
    }
    if (arg == "--record" || arg == "--play") {
      ++i;  // the file name; parse_replay_options checks the pair
      continue;
    }
    std::fprintf(stderr, "torvane: unknown option '%s' (see --help)\n", argv[i]);
    line.exit_code = 2;
    return line;
  }
  return line;
}

void choose_start_screen(ScreenChoice screen) { chosen_screen = screen; }

ScreenChoice start_screen_choice() { return chosen_screen; }
