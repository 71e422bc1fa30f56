#pragma once
// The heads-up display, drawn over the play field in two pieces around the end banner.
#include <cstdint>
#include <string_view>

void draw_energy_bar();   // the frame and the bar
void draw_hud_texts();    // weapons (or the lock notice), frame rate, score, "Life:"
void draw_hourglass();
// The zeros that pad a score to six characters.
std::string_view pad_score(int score);

// Scratch values of the last frame drawn.
extern std::uint32_t energy_bar_colour;
extern std::int32_t weapon_label_alpha[4];  // [1..3]
