// The game in a browser page, one session per program: the game is recorded in memory from
// its start, so that the player can take the game just played home as a file, or the session
// plays a recording the page handed in. A session ends like the desktop's window closing
// (program_exit); the page then starts a fresh program, so every session starts from a new
// one.
#include <cstdio>
#include <string>

#include "app/replay_options.h"
#include "app/replay_session.h"
#include "app/world_rounds.h"
#include "platform/i_web.h"
#include "platform/i_web_net.h"
#include "replay/replay_format.h"

namespace {

constexpr const char* kSessionFile = "/tmp/session.tvr";

// Where a recording cut short ends: one second of play per checkpoint.
std::string cut_short_at(const std::string& path) {
  const ReplayParse parse = load_replay_file(path);
  long long checkpoints = 0;
  for (const ReplayRecord& r : parse.data.records) checkpoints += r.kind == ReplayKind::Checkpoint;
  const long long seconds = checkpoints * kReplayCheckpointFrames / 41;
  char text[32];
  std::snprintf(text, sizeof text, "%lld:%02lld", seconds / 60, seconds % 60);
  return text;
}

std::string playback_result(int code, const std::string& path) {
  if (code == 0) return "The recording played to its end.";
  if (code == kReplayCutShortExit)
    return "The recording played as far as it goes: it was cut short at " + cut_short_at(path) + ".";
  if (code == 3) return "The recording went its own way: it was made by another version of the game.";
  return "That file is not a recording this game can play.";
}

}  // namespace

int main(int argc, char** argv) {
  web_mount_storage();
  web_set_recording_limit(kReplayMaxFileBytes);
  std::unique_ptr<Platform> backend = make_web_platform(make_web_network());
  mark_round_recordings_runner_made(web_virtual_clock());
  ReplayOptions options;
  if (web_take_recording_to_play()) options.play_path = kWebPlayFile;
  else options.record_path = kSessionFile;
  const int code = run_with_replay(*backend, options, argc, argv);
  backend.reset();
  const WebRequest request = web_take_request();
  std::string status;
  if (request == WebRequest::DownloadRecording && options.play_path.empty()) {
    web_offer_download(kSessionFile, "torvane-game.tvr");
    status = "The game so far is saved as torvane-game.tvr; a new game begins.";
  } else if (request == WebRequest::None && !options.play_path.empty()) {
    status = playback_result(code, options.play_path);
  }
  web_end_session(status);
  return 0;
}
