// The game in a browser page, one session per page load: the game is recorded in memory from
// its start, so that the player can take the game just played home as a file, or the page
// plays a recording it was handed. A session ends like the desktop's window closing
// (program_exit); the page then loads afresh, so every session starts from a new program.
#include <string>

#include "app/replay_options.h"
#include "app/replay_session.h"
#include "platform/i_web.h"

namespace {

constexpr const char* kSessionFile = "/tmp/session.tvr";

std::string playback_result(int code) {
  if (code == 0) return "The recording played to its end.";
  if (code == 3) return "The recording went its own way: it was made by another version of the game.";
  return "That file is not a recording this game can play.";
}

}  // namespace

int main(int argc, char** argv) {
  web_mount_storage();
  std::unique_ptr<Platform> backend = make_web_platform();
  ReplayOptions options;
  if (web_take_recording_to_play()) options.play_path = kWebPlayFile;
  else options.record_path = kSessionFile;
  const int code = run_with_replay(*backend, options, argc, argv);
  const WebRequest request = web_take_request();
  if (request == WebRequest::DownloadRecording && options.play_path.empty()) {
    web_offer_download(kSessionFile, "torvane-game.tvr");
    web_status_after_reload("The game so far is saved as torvane-game.tvr; a new game begins.");
  } else if (request == WebRequest::None && !options.play_path.empty()) {
    web_status_after_reload(playback_result(code));
  }
  web_reload();
}
