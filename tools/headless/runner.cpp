// torvane-headless from command line to exit code.
#include "headless/runner.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <system_error>

#include "app/replay_session.h"
#include "app/startup.h"
#include "app/world_rounds.h"
#ifndef TORVANE_NO_NETWORK
#include "platform/i_curl_net.h"
#endif
#include "files/high_score_file.h"
#include "headless/args.h"
#include "headless/asset_dump.h"
#include "headless/autoplay.h"
#include "headless/frame_dump.h"
#include "headless/frame_timer.h"
#include "headless/headless_platform.h"
#include "headless/script.h"
#include "headless/summary.h"
#include "replay/page_chain.h"
#include "replay/playback_restarts.h"
#include "replay/replay_format.h"
#include "replay/replay_player.h"
#include "replay/replay_recorder.h"
#include "replay/replay_writer.h"
#include "state/round_state.h"
#include "system/i_platform.h"

namespace {

constexpr int kBadInput = 2;

int fail(const std::string& message) {
  std::fprintf(stderr, "torvane-headless: %s\n", message.c_str());
  return kBadInput;
}

// Paths given on the command line are relative to where we were started, not to --workdir.
std::string absolute(const std::string& path) {
  std::error_code ec;
  const std::filesystem::path full = std::filesystem::absolute(path, ec);
  return ec ? path : full.lexically_normal().string();
}

// A dump whose folder does not exist would only fail after the whole run.
std::string check_dump_folder(const FrameDump& dump) {
  const std::filesystem::path folder = std::filesystem::path(dump.path).parent_path();
  std::error_code ec;
  if (std::filesystem::is_directory(folder, ec)) return "";
  return "--dump-frame " + std::to_string(dump.at_ms) + ":" + dump.path + ": folder '" +
         folder.string() + "' does not exist";
}

int run_game(int argc, char** argv, const RunnerOptions& options, std::vector<ScriptEvent> events,
             const ReplayData* replay) {
  HeadlessPlatform backend(options.clock_origin);
  backend.set_script(std::move(events));
  // The settings name the server when the command line does not; a replay never reaches it.
  std::unique_ptr<Network> network;
#ifndef TORVANE_NO_NETWORK
  if (!replay) {
    network = make_curl_network(options.score_server);
    backend.set_network(network.get());
  }
#endif
  mark_round_recordings_runner_made(true);
  if (options.until_ms >= 0) backend.set_stop_at_ms(options.until_ms);
  FrameDumps dumps;
  frame_dumps_start(dumps, options.frame_dumps);
  Autoplayer player;
  player.enabled = options.autoplay;
  player.rounds_wanted = options.rounds > 0 ? options.rounds : (options.autoplay ? 1 : 0);

  // A recorder or a replay sits between the game and the backend, and hashes the pages itself.
  Platform* installed = &backend;
  std::optional<ReplayRecorder> recorder;
  std::optional<ReplayPlayer> replayer;
  PlaybackSetup playback;
  playback.controls = options.playback_controls;
  playback.score = [] { return static_cast<int>(round_state.score); };
  if (!options.record_path.empty()) {
    recorder.emplace(backend, "torvane-headless");
    if (std::string error = start_recording(*recorder, options.record_path, true); !error.empty()) return fail(error);
    installed = &*recorder;
  } else if (replay) {
    replayer.emplace(backend, *replay, false, "torvane-headless", playback);
    installed = &*replayer;
  }
  // Without either the runner keeps the same chain itself, for the summary.
  PageChain pages;
  // Dumps first: the page is the one shown, whatever the player then decides.
  backend.set_present_hook([&dumps, &player, &pages, &recorder, &replayer](const Image& page, std::int64_t now_us) {
    if (!recorder && !replayer) pages.shown(page);
    // Writing a PNG allocates; that is the runner's doing, not the round's.
    const bool counting = alloc_counting_on();
    alloc_counting(false);
    frame_dumps_on_present(dumps, page, now_us);
    alloc_counting(counting);
    autoplay_on_present(player, page, now_us);
  });

  FrameTimer timer(*installed);
  platform_install(&timer);
  int code = 0;
  for (;;) {
    try {
      code = main_flow(argc, argv);
      break;
    } catch (const PlaybackRestart& restart) {
      // A jump back: a new player in the same place, so the timer above still wraps it.
      playback = playback_after(playback, restart);
      autoplay_start_over(player);
      replayer.emplace(backend, *replay, false, "torvane-headless", playback);
    }
  }
  platform_install(nullptr);
  alloc_counting(false);
  autoplay_release_all(player);
  if (recorder) {
    if (std::string error = recorder->finish(); !error.empty()) code = fail("the recording was not saved: " + error);
    else if (recorder->cut_short()[0]) {
      std::fprintf(stderr, "torvane-headless: the recording was cut short (%s); it plays up to its last checkpoint\n",
                   recorder->cut_short());
      if (code == 0) code = 1;
    }
  }

  RunSummary summary;
  summary.virtual_ms = backend.now_us() / 1000;
  summary.frames = backend.frames_shown();
  summary.cpu_us_p50 = timer.game().percentile_us(0.50);
  summary.cpu_us_p99 = timer.game().percentile_us(0.99);
  summary.cpu_us_max = timer.game().max_us();
  summary.runner_us_p50 = timer.runner().percentile_us(0.50);
  summary.runner_us_p99 = timer.runner().percentile_us(0.99);
  summary_take_round(summary);
  summary.round_results = player.results;
  summary.rss_kb = resident_kb();
  summary.rss_kb_per_round = player.rss_kb_per_round;
  summary.startup_ms = player.startup_ms;
  summary.page_digest = recorder ? recorder->page_digest() : replayer ? replayer->page_digest() : pages.at_end();
  summary.sound_digest = backend.sound_digest();
  if (alloc_counting_available()) summary.alloc_count_in_rounds = static_cast<std::int64_t>(alloc_count());
  std::printf("%s\n", summary_json(summary).c_str());
  std::fflush(stdout);

  for (const std::string& problem : frame_dumps_problems(dumps, backend.now_us())) code = fail(problem);
  return code;
}

int run_asset_dump(const RunnerOptions& options) {
  HeadlessPlatform backend(options.clock_origin);
  platform_install(&backend);
  std::string error;
  try {
    error = options.icon_size > 0 ? dump_icon(options.icon_size, options.icon_path)
                                  : dump_assets(options.dump_assets_dir);
  } catch (const ProgramExit& exit) {
    error = "the program ended (code " + std::to_string(exit.code) + ") during start-up";
  }
  platform_install(nullptr);
  return error.empty() ? 0 : fail(error);
}

}  // namespace

int run_headless(int argc, char** argv) {
  autoplay_clock_start();
  ArgsParse args = parse_args(argc, argv);
  if (!args.error.empty()) return fail(args.error + " (see --help)");
  RunnerOptions& options = args.options;
  if (options.help) {
    std::fputs(usage_text(), stdout);
    return 0;
  }

  std::vector<ScriptEvent> events;
  if (!options.script_path.empty()) {
    ScriptParse script = load_script(options.script_path);
    if (!script.error.empty()) return fail(script.error);
    events = std::move(script.events);
  }
  for (FrameDump& dump : options.frame_dumps) {
    dump.path = absolute(dump.path);
    if (std::string error = check_dump_folder(dump); !error.empty()) return fail(error);
  }
  if (!options.dump_assets_dir.empty()) options.dump_assets_dir = absolute(options.dump_assets_dir);
  if (!options.record_path.empty()) {
    options.record_path = absolute(options.record_path);
    if (std::string problem = replay_target_problem(options.record_path); !problem.empty()) return fail(problem);
  }
  // The whole recording is read and checked before anything runs.
  ReplayParse replay;
  if (!options.play_path.empty()) {
    replay = load_replay_file(options.play_path);
    if (replay.error.empty()) replay.error = replay_fits_this_build(replay.data);
    if (!replay.error.empty()) return fail(replay.error);
  }
  if (!options.icon_path.empty()) options.icon_path = absolute(options.icon_path);
  if (!options.workdir.empty() && chdir(options.workdir.c_str()) != 0) {
    return fail("cannot enter --workdir '" + options.workdir + "': " + std::strerror(errno));
  }
  // A --workdir is a portable copy: its table is DIR/data/hs.dat from the first score on.
  keep_high_scores_in_working_folder(!options.workdir.empty());

  if (!options.dump_assets_dir.empty() || options.icon_size > 0) return run_asset_dump(options);
  return run_game(argc, argv, options, std::move(events), options.play_path.empty() ? nullptr : &replay.data);
}
