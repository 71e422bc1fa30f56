#pragma once
// The line's opaque colours. Balls, kamikazes and powerups find the line by reading these exact
// values back from the page, so the line's drawing and the enemies' sensing share them here.
#include <cstdint>

constexpr std::uint32_t kLineBodyColour = 0xFFE7E7E7;
constexpr std::uint32_t kGunTipColour = 0xFFC00000;
