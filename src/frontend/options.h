#pragma once
#include <cstdint>

extern std::int32_t music_level;   // 0..4
extern std::int32_t sfx_level;     // 0..4
extern std::int32_t full_screen;   // 1 window, 2 full screen
extern std::int32_t audio_volume;  // 0..255

void run_options();
