#pragma once
// The player line: geometry, drawing, collapse, and the rotation trail.
#include <cstdint>

#include "sensing/line_colours.h"

constexpr float kPivotX = 320.0f;
constexpr float kPivotY = 220.0f;

void update_player_line();
void spawn_rotation_trail();
void update_rotation_trail();
void draw_thick_segment(float x1, float y1, float x2, float y2, float thickness, int r, int g,
                        int b, int a);
void fill_triangle(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                   std::int32_t x3, std::int32_t y3, int r, int g, int b, int a);
