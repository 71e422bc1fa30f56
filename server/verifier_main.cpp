// torvane-verify: replays one recording (read from stdin) flat out and prints one JSON line
// with what it proves: the score, the name and the recorded length, or why it proves nothing.
// The game keeps its state in globals, so the server runs one of these per recording.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "app/startup.h"
#include "system/file_size_signal.h"
#include "system/i_platform.h"
#include "screens/high_scores.h"
#include "headless/autoplay.h"
#include "headless/headless_platform.h"
#include "replay/replay_format.h"
#include "replay/replay_player.h"
#include "state/round_state.h"
#include "clock_watch.h"
#include "recording_checks.h"

namespace {

constexpr std::size_t kMaxInput = std::size_t{1} << 20;
constexpr int kTooLongExit = 90;

int say(const nlohmann::json& line) {
  std::printf("%s\n", line.dump().c_str());
  std::fflush(stdout);
  return 0;
}

int refuse(const std::string& reason) { return say({{"ok", false}, {"reason", reason}}); }

std::vector<std::uint8_t> read_stdin() {
  std::vector<std::uint8_t> bytes;
  std::uint8_t buffer[65536];
  for (;;) {
    const ssize_t n = ::read(0, buffer, sizeof buffer);
    if (n <= 0) break;
    bytes.insert(bytes.end(), buffer, buffer + n);
    if (bytes.size() > kMaxInput) break;
  }
  return bytes;
}

// The player's own account of a replay that goes its way lands on stderr; it is kept in memory
// so that it can become the refusal's reason.
struct StderrCapture {
  int saved = -1, fd = -1;
  void start() {
    fd = memfd_create("verify-stderr", 0);
    if (fd < 0) return;
    std::fflush(stderr);
    saved = dup(2);
    dup2(fd, 2);
  }
  std::string finish() {
    if (fd < 0) return "";
    std::fflush(stderr);
    dup2(saved, 2);
    close(saved);
    std::string text(4096, '\0');
    const ssize_t n = pread(fd, text.data(), text.size(), 0);
    close(fd);
    text.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return text;
  }
};

// The player's first line, without the program's name in front.
std::string first_line(std::string text) {
  text = text.substr(0, text.find('\n'));
  const std::string prefix = "torvane-verify: ";
  if (text.rfind(prefix, 0) == 0) text.erase(0, prefix.size());
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  ignore_file_size_signal();
  long max_frames = 60000;
  for (int i = 1; i + 1 < argc; i += 2)
    if (std::strcmp(argv[i], "--max-frames") == 0) max_frames = std::strtol(argv[i + 1], nullptr, 10);

  const std::vector<std::uint8_t> bytes = read_stdin();
  if (bytes.size() > kMaxInput) return refuse("larger than a recording may be");
  ReplayParse parse = parse_replay(bytes);
  if (!parse.error.empty()) return refuse(parse.error);
  const ReplayData& data = parse.data;
  if (std::string problem = recording_problem(data); !problem.empty()) return refuse(problem);

  HeadlessPlatform backend;
  ReplayPlayer player(backend, data, false, "torvane-verify");
  ClockWatch clock(player);
  Autoplayer watch;  // not playing: it only notes how each round went
  long frames = 0;
  bool too_long = false;
  double round_start = -1.0;  // seconds from the origin to the first round's first frame
  backend.set_present_hook([&](const Image& page, std::int64_t now_us) {
    if (++frames > max_frames) {
      too_long = true;
      program_exit(kTooLongExit);
    }
    autoplay_on_present(watch, page, now_us);
    if (watch.in_round && round_start < 0.0) round_start = clock.elapsed();
  });

  StderrCapture capture;
  capture.start();
  platform_install(&clock);
  char name[] = "torvane";
  char* args[] = {name, nullptr};
  const int code = main_flow(1, args);
  platform_install(nullptr);
  const std::string told = capture.finish();

  if (too_long) return refuse("longer than " + std::to_string(max_frames) + " frames");
  if (!player.completed() || code == kReplayDivergedExit)
    return refuse(told.empty() ? "the replay did not play to the recording's end" : first_line(told));

  // A round closed by the window's close button at its tally still counts: closing finishes
  // the count first.
  std::vector<RoundResult> rounds = watch.results;
  if (watch.in_round && watch.tally_seen) {
    watch.current.final_score = round_state.score;
    rounds.push_back(watch.current);
  }
  std::vector<RoundResult> ended;
  for (const RoundResult& r : rounds)
    if (r.end_ms >= 0) ended.push_back(r);
  if (ended.empty()) return refuse("no round in the recording was played to its end");
  if (ended.size() > 1) return refuse("the recording holds more than one round played to its end");

  return say({{"ok", true},
              {"score", ended[0].final_score},
              {"name", hs_name},
              {"seconds", clock.elapsed()},
              {"origin", clock.origin()},
              {"round_start", round_start},
              {"frames", frames},
              {"round_seconds", ended[0].round_seconds},
              {"runner_made", data.runner_made}});
}
