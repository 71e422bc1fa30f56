#pragma once
// The high-score screens: the table page, the record prompt and the name entry.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "files/high_score_file.h"

extern float hs_scores[5];       // [1..4]

// Name entry.
extern std::string hs_name;       // the name being entered, at most 8 capitals
extern char name_chars[9];        // [1..8]: the letters typed so far, 0 where none
extern std::int32_t name_pos;     // 1..9: the slot that takes the next letter
extern std::int32_t cursor_blink; // 1..16; the cursor shows while above 8

// After a finished game: offers to record score when it beats the fourth place.
void enter_high_score();
// The table as read from the file.
void show_high_scores();
void enter_name();

// The place 1..4 that score takes in hs_scores, or 0 when it does not beat the fourth; a
// score equal to an entry goes below it.
int high_score_place(std::int32_t score);
// Moves places k..3 down one (the fourth is lost) and puts name and score at place k, then
// rebuilds the four score texts.
void insert_high_score(int k, std::string_view name, std::int32_t score);
