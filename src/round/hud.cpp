#include "round/hud.h"

// Placeholder until this part of the game lands.
void draw_energy_bar() {}
void draw_hud_texts() {}
void draw_hourglass() {}
std::string_view pad_score(int) { return {}; }
