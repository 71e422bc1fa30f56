// Reading --record FILE and --play FILE off the command line.
#include "app/replay_options.h"

#include <string_view>

ReplayOptions parse_replay_options(int argc, const char* const* argv) {
  ReplayOptions o;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg != "--record" && arg != "--play") continue;
    std::string& target = arg == "--record" ? o.record_path : o.play_path;
    // "--record --help" is a slip, not a file to be named --help.
    if (i + 1 >= argc || std::string_view(argv[i + 1]).empty() || std::string_view(argv[i + 1]).starts_with("--")) {
      o.error = std::string(arg) + " needs a file name" +
                (i + 1 < argc && *argv[i + 1] ? std::string(", not the option '") + argv[i + 1] + "'" : std::string());
      return o;
    }
    if (!target.empty()) {
      o.error = std::string(arg) + " given twice";
      return o;
    }
    target = argv[++i];
  }
  if (!o.record_path.empty() && !o.play_path.empty()) o.error = "--record and --play cannot go together";
  return o;
}
