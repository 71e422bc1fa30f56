#pragma once
// The fractal cloud backgrounds: midpoint displacement on a height grid, painted level by
// level through the palette.
#include <cstdint>

// A cloud over (0, 0)-(width, height) of the work page. c1..c4 are the corner heights
// top-left, top-right, bottom-right, bottom-left; each level halves the cells and repaints
// the whole picture, with the displacement shrinking by decay.
void draw_midpoint_fractal(std::int32_t width, std::int32_t height, std::int32_t c1, std::int32_t c2,
                           std::int32_t c3, std::int32_t c4, std::int32_t roughness, std::int32_t levels,
                           double decay);

// Backgrounds 3 and 4, each captured darkened over black; leaves the work page black after 3
// and holding the darkened 4.
void draw_fractal_backgrounds();
