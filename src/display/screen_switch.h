#pragma once
// Window or full screen, switched from anywhere (Alt+Enter in every screen, the options page),
// and the settings a save writes. Below the game's folders, so that the frame loop and the
// options page both reach it and neither reaches the other.
#include <cstdint>

#include "files/settings_file.h"

extern std::int32_t full_screen;  // 1 window, 2 full screen

// What a save writes: the levels the options page last set and the screen the player chose
// (--fullscreen and --window change only this run's screen, not this).
Settings& chosen_settings();

// Window to full screen or back; the player's choice, so also what the next save keeps. Call
// it while a frame is being drawn.
void toggle_full_screen();
// The same, saved at once (Alt+Enter).
void switch_full_screen_and_save();
// Saves chosen_settings(); a failure goes to stderr and is remembered for the options page.
bool save_chosen_settings();
// As at program start: a window, nothing chosen, no failed save.
void forget_screen_switch();
// True when the last save failed.
bool settings_save_failed();
