#pragma once
// Every float-to-integer conversion of the game goes through these helpers, so that
// rounding is decided in one place.
#include <cmath>
#include <cstdint>

// Assigning a float to an integer variable rounds to nearest, ties to even.
inline std::int32_t round_even(double v) { return static_cast<std::int32_t>(std::nearbyint(v)); }
inline std::int64_t round_even64(double v) { return static_cast<std::int64_t>(std::nearbyint(v)); }

// Pixel coordinates round half away from zero.
// Far-off values are clamped first so that clipping, not overflow, deals with them.
inline std::int32_t round_coord(float v) {
  double d = static_cast<double>(v);
  if (!(d > -1e9)) d = -1e9;  // also catches NaN
  if (d > 1e9) d = 1e9;
  return d > 0.0 ? static_cast<std::int32_t>(d + 0.5) : static_cast<std::int32_t>(d - 0.5);
}

// floor(rnd * n) + base: the game's random whole numbers.
inline std::int32_t floor_int(double v) { return static_cast<std::int32_t>(std::floor(v)); }
