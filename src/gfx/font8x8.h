#pragma once
// The built-in 8x8 font: one byte a row, the top bit leftmost.
#include <cstdint>

// The built-in 8x8 font in code-page-437 order; bit 7 of a row is the leftmost pixel.
extern const std::uint8_t font8x8[256][8];
