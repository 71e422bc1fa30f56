#pragma once
// The score texts of the high-score file: written with at most seven significant digits,
// read back as the longest leading decimal number.
#include <cstddef>
#include <string_view>

// Long enough for "-1.234568e+38".
constexpr std::size_t kScoreTextCapacity = 16;

// Writes the text of value into out (no terminator) and returns its length. Whole numbers
// below 10,000,000 have no fraction; from there on "1.234568e+07".
std::size_t format_score_text(float value, char (&out)[kScoreTextCapacity]);
// Leading spaces skipped, then the longest leading decimal number; 0 when there is none.
// Always finite: a number beyond single precision reads as the largest one.
float parse_score_text(std::string_view text);
