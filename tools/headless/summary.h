#pragma once
// The one JSON line a headless run prints as it ends.
#include <cstdint>
#include <string>
#include <vector>

#include "headless/autoplay.h"

struct RunSummary {
  std::int64_t virtual_ms = 0;
  std::int64_t frames = 0;
  // CPU per shown frame: the game alone, then the runner's own work at each page (digest,
  // recorder or replay check, autoplayer, dumps).
  double cpu_us_p50 = 0.0;
  double cpu_us_p99 = 0.0;
  double cpu_us_max = 0.0;
  double runner_us_p50 = 0.0;
  double runner_us_p99 = 0.0;
  int phase = 0;
  int score = 0;
  double energy = 0.0;
  int round_seconds = 0;
  int game_over = 0;
  // Whole rounds seen (autoplayed or scripted) and how each ended.
  std::vector<RoundResult> round_results;
  long rss_kb = -1;  // VmRSS at exit
  std::vector<long> rss_kb_per_round;
  double startup_ms = -1.0;  // wall clock to the first menu frame; -1 when none was shown
  std::int64_t alloc_count_in_rounds = -1;  // -1 when not counted
  std::uint64_t page_digest = 0;  // the pages at checkpoints and the last (format 2: every page)
  std::uint64_t sound_digest = 0;  // chained over every call of the sound hooks
};

// Fills the round fields from round_state.
void summary_take_round(RunSummary& summary);

// {"virtual_ms":...,"frames":...,...} without a line break.
std::string summary_json(const RunSummary& summary);
