#pragma once
// The options screen: music and sound-effect volume in five levels, window or full screen.
// The settings file holds them between runs; leaving the page saves them.
#include <cstdint>

struct Settings;

extern std::int32_t music_level;   // 0..4
extern std::int32_t sfx_level;     // 0..4
extern std::int32_t full_screen;   // 1 window, 2 full screen
extern std::int32_t audio_volume;  // 0..255, handed to the audio hook

// The volume of each level 0..4.
std::int32_t level_volume(std::int32_t level);

void run_options();

// Window to full screen or back, as the options item does it; the player's choice, so it is
// also what the next save keeps. Call it while a frame is being drawn.
void toggle_full_screen();
// The same, saved at once (Alt+Enter, which works anywhere).
void switch_full_screen_and_save();
// Takes loaded settings: levels, device volumes and the screen wanted (the display is not
// reopened here).
void use_settings(const Settings& settings);
// What a save writes now.
Settings current_settings();
