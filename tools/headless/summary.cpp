#include "headless/summary.h"

#include <cmath>
#include <cstdio>

#include "round/round_state.h"

namespace {

// JSON has no NaN or infinity.
std::string number(double value, const char* format) {
  if (!std::isfinite(value)) return "null";
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

}  // namespace

void summary_take_round(RunSummary& summary) {
  const RoundState& rs = round_state;
  summary.phase = rs.phase;
  summary.score = rs.score;
  summary.energy = rs.energy;
  summary.round_seconds = rs.round_seconds;
  summary.game_over = rs.game_over;
}

std::string summary_json(const RunSummary& s) {
  std::string out = "{";
  out += "\"virtual_ms\":" + std::to_string(s.virtual_ms);
  out += ",\"frames\":" + std::to_string(s.frames);
  out += ",\"cpu_us_p50\":" + number(s.cpu_us_p50, "%.0f");
  out += ",\"cpu_us_p99\":" + number(s.cpu_us_p99, "%.0f");
  out += ",\"cpu_us_max\":" + number(s.cpu_us_max, "%.0f");
  out += ",\"phase\":" + std::to_string(s.phase);
  out += ",\"score\":" + std::to_string(s.score);
  // Energy is single precision: nine significant digits give it back exactly.
  out += ",\"energy\":" + number(s.energy, "%.9g");
  out += ",\"round_seconds\":" + std::to_string(s.round_seconds);
  out += ",\"game_over\":" + std::to_string(s.game_over);
  out += "}";
  return out;
}
