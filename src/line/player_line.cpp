#include "line/player_line.h"

// Placeholder until this part of the game lands.
void update_player_line() {}
void spawn_rotation_trail() {}
void update_rotation_trail() {}
void draw_thick_segment(float, float, float, float, float, int, int, int, int) {}
void fill_triangle(std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t, int, int, int, int) {}
