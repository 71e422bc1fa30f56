#pragma once
// The options screen: music and sound-effect volume in five levels, window or full screen.
// Nothing is saved; every start begins at "0 %", "0 %" and a window.
#include <cstdint>

extern std::int32_t music_level;   // 0..4
extern std::int32_t sfx_level;     // 0..4
extern std::int32_t full_screen;   // 1 window, 2 full screen
extern std::int32_t audio_volume;  // 0..255, handed to the audio hook

// The volume of each level 0..4.
std::int32_t level_volume(std::int32_t level);

void run_options();
