#pragma once
// The windowed game's command line: --help, --version, and --fullscreen or --window for one
// run without touching the saved setting.

#include <string>

enum class ScreenChoice { Saved, FullScreen, Window };

struct CommandLine {
  ScreenChoice screen = ScreenChoice::Saved;
  std::string score_server;  // --score-server: this run's server over the settings' one
  int exit_code = -1;  // >= 0: the command line is answered (help, version, error); exit with it
};

// Reads the options; prints the help, the version or what is wrong (to stderr) itself.
CommandLine read_command_line(int argc, const char* const* argv);

// The screen chosen for this run, if any; start-up applies it over the saved setting.
void choose_start_screen(ScreenChoice screen);
ScreenChoice start_screen_choice();
