// Writing and reading the score texts of the high-score file.
#include "files/score_text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

std::size_t format_score_text(float value, char (&out)[kScoreTextCapacity]) {
  // Shortest form at seven significant digits: exponent from 1e7 on, no trailing zeros or
  // point.
  // printf's %g, which every C library has (the browser's C++ library has no floating
  // to_chars); the float widens to double exactly, so the digits are the float's own.
  if (!std::isfinite(value)) value = 0.0f;
  char text[kScoreTextCapacity + 1];
  const int length = std::snprintf(text, sizeof text, "%.7g", static_cast<double>(value));
  const std::size_t size = length < 0 ? 0 : static_cast<std::size_t>(length);
  for (std::size_t i = 0; i < size && i < kScoreTextCapacity; ++i) out[i] = text[i];
  return size < kScoreTextCapacity ? size : kScoreTextCapacity;
}

namespace {

// A line of the file holds at most 4096 characters, so no number in it is longer.
constexpr std::size_t kMaxNumberText = 4096;

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Length of the longest leading decimal number of s: [sign] digits [. digits] [e [sign] digits],
// with at least one mantissa digit; 0 when s does not start with one.
std::size_t number_length(std::string_view s) {
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < s.size() && is_digit(s[i])) ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && is_digit(s[i])) ++i, ++digits;
  }
  if (digits == 0) return 0;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    const std::size_t exponent_start = j;
    while (j < s.size() && is_digit(s[j])) ++j;
    if (j > exponent_start) i = j;
  }
  return i;
}

}  // namespace

float parse_score_text(std::string_view text) {
  std::size_t start = 0;
  while (start < text.size() && text[start] == ' ') ++start;
  text.remove_prefix(start);
  const std::size_t length = number_length(text);
  if (length == 0) return 0.0f;
  std::string_view number = text.substr(0, length);
  const bool negative = number[0] == '-';
  if (number[0] == '+' || number[0] == '-') number.remove_prefix(1);
  // strtof on a bounded copy of the plain decimal text (the locale is never changed, so the
  // point is '.'); too large reads as the largest finite number, so the table can always be
  // written back.
  char copy[kMaxNumberText + 1];
  const std::size_t n = number.size() < kMaxNumberText ? number.size() : kMaxNumberText;
  number.copy(copy, n);
  copy[n] = '\0';
  float value = std::strtof(copy, nullptr);
  if (!std::isfinite(value)) value = std::numeric_limits<float>::max();
  return negative ? -value : value;
}
