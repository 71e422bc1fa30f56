#include "frontend/options.h"

// Placeholder until this part of the game lands.
std::int32_t music_level = 0;
std::int32_t sfx_level = 0;
std::int32_t full_screen = 1;
std::int32_t audio_volume = 0;
void run_options() {}
