#pragma once
// Round to nearest, ties to even, without a library call: adding and taking away 1.5 * 2^52
// leaves the double rounded to an integer by the FPU's own round-to-nearest-even, the same
// rounding round_even gets from nearbyint. Exact for |v| < 2^51; asset code only sees small
// values (grid indices, heights, colour channels).
#include <cstdint>

inline std::int32_t round_even_fast(double v) {
  constexpr double kShifter = 6755399441055744.0;  // 1.5 * 2^52
  // Without fast-math the compiler may not fold (v + k) - k back into v.
  return static_cast<std::int32_t>((v + kShifter) - kShifter);
}
