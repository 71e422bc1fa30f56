#pragma once
// The options screen: music and sound-effect volume in five levels, window or full screen, the
// score server and the player's name (typed on an edit line). The settings file holds them
// between runs; every change is saved at once.
#include <cstdint>

#include "display/screen_switch.h"

extern std::int32_t music_level;   // 0..4
extern std::int32_t sfx_level;     // 0..4
extern std::int32_t audio_volume;  // 0..255, handed to the audio hook

// The volume of each level 0..4.
std::int32_t level_volume(std::int32_t level);

void run_options();

// Takes loaded settings: levels, device volumes and the screen wanted (the display is not
// reopened here).
void use_settings(const Settings& settings);
// What a save writes now.
Settings current_settings();
// The score server and the player's name as the settings give them ("" when not set).
const char* chosen_score_server();
const char* chosen_player_name();
// Told of every score server the page keeps ("" for none), after it is saved: the app hands it
// to the score server's client. Nobody is told until it is set.
void tell_score_server_with(void (*tell)(const char* url));
