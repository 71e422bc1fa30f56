#pragma once
// The one JSON line a headless run prints as it ends.
#include <cstdint>
#include <string>

struct RunSummary {
  std::int64_t virtual_ms = 0;
  std::int64_t frames = 0;
  double cpu_us_p50 = 0.0;
  double cpu_us_p99 = 0.0;
  double cpu_us_max = 0.0;
  int phase = 0;
  int score = 0;
  double energy = 0.0;
  int round_seconds = 0;
  int game_over = 0;
};

// Fills the round fields from round_state.
void summary_take_round(RunSummary& summary);

// {"virtual_ms":...,"frames":...,...} without a line break.
std::string summary_json(const RunSummary& summary);
