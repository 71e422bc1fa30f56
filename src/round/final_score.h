#pragma once
// The final-score screen that counts up the end-of-round bonuses.
#include <cstdint>

extern std::int32_t score_frame;
extern std::int32_t completion_percent;
extern std::int32_t energy_bonus_count;

void show_final_score();
