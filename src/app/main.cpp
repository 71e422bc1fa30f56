// The windowed game.
#include <cstdio>

#include "app/command_line.h"
#include "app/replay_options.h"
#include "app/replay_session.h"
#include "platform/i_curl_net.h"
#include "platform/i_sdl.h"
#include "replay/replay_writer.h"
#include "system/file_size_signal.h"
#include "system/input.h"

int main(int argc, char** argv) {
  ignore_file_size_signal();
  // A closed terminal or a logout must not lose a finished game's score: from the first
  // moment these signals take the close button's path, SDL's own handlers never come in.
  catch_close_signals();
  const CommandLine line = read_command_line(argc, argv);
  if (line.exit_code >= 0) return line.exit_code;
  const ReplayOptions replay = parse_replay_options(argc, argv);
  if (!replay.error.empty()) {
    std::fprintf(stderr, "torvane: %s\n", replay.error.c_str());
    return 2;
  }
  // A target the recording could never go to is refused before any window opens.
  if (!replay.record_path.empty()) {
    if (std::string problem = replay_target_problem(replay.record_path); !problem.empty()) {
      std::fprintf(stderr, "torvane: %s\n", problem.c_str());
      return 2;
    }
  }
  choose_start_screen(line.screen);
  std::unique_ptr<Platform> backend = make_sdl_platform(false, make_curl_network(line.score_server));
  if (!backend) return 1;
  return run_with_replay(*backend, replay, argc, argv);
}
