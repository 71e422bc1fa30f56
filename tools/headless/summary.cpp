// The JSON line a headless run prints as it ends.
#include "headless/summary.h"

#include <cmath>
#include <cstdio>

#include "state/round_state.h"

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
  out += ",\"runner_us_p50\":" + number(s.runner_us_p50, "%.0f");
  out += ",\"runner_us_p99\":" + number(s.runner_us_p99, "%.0f");
  // Figures of this machine and run first; everything from "phase" on repeats exactly.
  out += ",\"rss_kb\":" + std::to_string(s.rss_kb);
  out += ",\"rss_kb_per_round\":[";
  for (std::size_t i = 0; i < s.rss_kb_per_round.size(); ++i)
    out += (i ? "," : "") + std::to_string(s.rss_kb_per_round[i]);
  out += "]";
  out += ",\"startup_ms\":" + (s.startup_ms < 0.0 ? std::string("null") : number(s.startup_ms, "%.1f"));
  out += ",\"alloc_count_in_rounds\":" +
         (s.alloc_count_in_rounds < 0 ? std::string("null") : std::to_string(s.alloc_count_in_rounds));
  out += ",\"phase\":" + std::to_string(s.phase);
  out += ",\"score\":" + std::to_string(s.score);
  // Energy is single precision: nine significant digits give it back exactly.
  out += ",\"energy\":" + number(s.energy, "%.9g");
  out += ",\"round_seconds\":" + std::to_string(s.round_seconds);
  out += ",\"game_over\":" + std::to_string(s.game_over);
  char digest[19];
  std::snprintf(digest, sizeof digest, "%016llx", static_cast<unsigned long long>(s.page_digest));
  out += ",\"page_digest\":\"" + std::string(digest) + "\"";
  std::snprintf(digest, sizeof digest, "%016llx", static_cast<unsigned long long>(s.sound_digest));
  out += ",\"sound_digest\":\"" + std::string(digest) + "\"";
  out += ",\"rounds\":" + std::to_string(s.round_results.size());
  out += ",\"round_results\":[";
  for (std::size_t i = 0; i < s.round_results.size(); ++i) {
    const RoundResult& r = s.round_results[i];
    if (i) out += ",";
    out += "{\"phase\":" + std::to_string(r.phase);
    out += ",\"score_before_final\":" + std::to_string(r.score_before_final);
    out += ",\"final_score\":" + std::to_string(r.final_score);
    out += ",\"energy\":" + number(r.energy, "%.9g");
    out += ",\"round_seconds\":" + std::to_string(r.round_seconds);
    out += ",\"game_over\":" + std::to_string(r.game_over);
    out += ",\"start_ms\":" + std::to_string(r.start_ms);
    out += ",\"end_ms\":" + std::to_string(r.end_ms) + "}";
  }
  out += "]";
  out += "}";
  return out;
}
