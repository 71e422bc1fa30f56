#pragma once
// Whole milliseconds as the script and the command line write them: digits only.
#include <algorithm>
#include <charconv>
#include <cstdint>
#include <string_view>

// The clock counts microseconds in 64 bits; times stay well inside that.
constexpr std::int64_t kMaxScriptMs = 1'000'000'000'000;

inline bool parse_whole_ms(std::string_view word, std::int64_t& ms) {
  if (word.empty() || !std::all_of(word.begin(), word.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return false;
  }
  const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), ms);
  return ec == std::errc() && end == word.data() + word.size() && ms <= kMaxScriptMs;
}
