// The game in a browser page. Each session is recorded in memory, so that the player can take
// the game just played home as a file; the page can also hand in a recording to watch. A
// session ends like the desktop's window closing (program_exit), and the next one begins.
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
  bool play_next = false;
  for (;;) {
    ReplayOptions options;
    if (play_next) options.play_path = kWebPlayFile;
    else options.record_path = kSessionFile;
    const int code = run_with_replay(*backend, options, argc, argv);
    play_next = false;
    switch (web_take_request()) {
      case WebRequest::DownloadRecording:
        web_offer_download(kSessionFile, "torvane-game.tvr");
        web_status("The game so far is saved as torvane-game.tvr; a new game begins.");
        break;
      case WebRequest::PlayRecording:
        play_next = true;
        web_status("Playing the recording (Escape stops it).");
        break;
      case WebRequest::None:
        web_status(options.play_path.empty() ? "" : playback_result(code));
        break;
    }
  }
}
