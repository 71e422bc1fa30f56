// A session on a backend, plain, recorded or played back.
#include "app/replay_session.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "app/startup.h"
#include "files/settings_file.h"
#include "replay/replay_format.h"
#include "replay/playback_restarts.h"
#include "replay/replay_player.h"
#include "replay/replay_recorder.h"
#include "state/round_state.h"

namespace {

constexpr int kBadFile = 2;

int current_score() { return round_state.score; }

int run_installed(Platform& backend, int argc, char** argv) {
  platform_install(&backend);
  try {
    const int code = main_flow(argc, argv);
    platform_install(nullptr);
    return code;
  } catch (...) {
    platform_install(nullptr);  // a jump back starts the game again with a new player
    throw;
  }
}

}  // namespace

std::string start_recording(ReplayRecorder& recorder, const std::string& path, bool runner_made) {
  std::string error = recorder.start(path, runner_made);
  if (error.empty()) return error;
  const std::string part = path + ".part";
  const auto header = static_cast<off_t>(sizeof kReplayMagic + 2 + 2 + 1 + std::strlen(kReplayGameVersion));
  struct stat st {};
  if (::lstat(part.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_size < header) ::unlink(part.c_str());
  return error;
}

int run_with_replay(Platform& backend, const ReplayOptions& options, int argc, char** argv) {
  if (!options.play_path.empty()) {
    const ReplayParse parse = load_replay_file(options.play_path);
    std::string error = parse.error.empty() ? replay_fits_this_build(parse.data) : parse.error;
    if (!error.empty()) {
      std::fprintf(stderr, "torvane: %s\n", error.c_str());
      return kBadFile;
    }
    PlaybackSetup setup;
    setup.controls = true;
    setup.score = current_score;
    bool completed = false;
    const int code = play_with_restarts(backend, parse.data, true, "torvane", setup, [&](ReplayPlayer& player) {
      const int game = run_installed(player, argc, argv);
      completed = player.completed();
      return game;
    });
    // Played to where the file stops is not played to its end: the caller must be able to tell.
    return code == 0 && parse.data.cut_short && completed ? kReplayCutShortExit : code;
  }
  if (!options.record_path.empty()) {
    ReplayRecorder recorder(backend, "torvane", true);
    if (std::string error = start_recording(recorder, options.record_path); !error.empty()) {
      std::fprintf(stderr, "torvane: %s\n", error.c_str());
      return kBadFile;
    }
    const int code = run_installed(recorder, argc, argv);
    if (std::string error = recorder.finish(); !error.empty()) {
      // The session is over, but the player must know the recording of it is not there.
      std::fprintf(stderr, "torvane: the recording was not saved: %s\n", error.c_str());
      return code != 0 ? code : 1;
    }
    if (recorder.cut_short()[0]) {
      std::fprintf(stderr, "torvane: the recording was cut short (%s); it plays up to its last checkpoint\n",
                   recorder.cut_short());
      return code != 0 ? code : 1;
    }
    return code;
  }
  return run_installed(backend, argc, argv);
}
