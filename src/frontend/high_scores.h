#pragma once
// The four best scores, their scrambled file "data/hs.dat", the record prompt and name entry.
#include <cstddef>
#include <string>
#include <string_view>

extern std::string hs_lines[9];  // [1..8]: names of places 1..4, then their score texts
extern float hs_scores[5];       // [1..4]

void read_high_score_file();
void enter_high_score();
void show_high_scores();
void enter_name();
void scramble_line(char* line, std::size_t length, std::string_view key);
void unscramble_line(char* line, std::size_t length, std::string_view key);
