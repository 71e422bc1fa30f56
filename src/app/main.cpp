// The windowed game.
#include <cstdio>

#include "app/replay_options.h"
#include "app/replay_session.h"
#include "platform/i_sdl.h"

int main(int argc, char** argv) {
  const ReplayOptions replay = parse_replay_options(argc, argv);
  if (!replay.error.empty()) {
    std::fprintf(stderr, "torvane: %s\n", replay.error.c_str());
    return 2;
  }
  std::unique_ptr<Platform> backend = make_sdl_platform();
  if (!backend) return 1;
  return run_with_replay(*backend, replay, argc, argv);
}
