// hypot: the sum of squares is exact as a double-double, and one Newton step from the rounded
// square root, with the residual taken exactly, gives the root's correct rounding.
#include <cmath>
#include <cstdint>
#include <utility>

#include "base/game_math.h"
#include "base/game_math_dd.h"
#include "base/game_math_u128.h"

namespace gmath {
namespace {

using namespace detail;

// Both below the least normal, so the result is a whole number of the least subnormal's units:
// sqrt(b^2 + s^2) for the inputs' unit counts b and s, rounded to the nearest unit exactly
// (scaling back from a scaled root would round a second time).
double hypot_of_subnormals(double big, double small) {
  const auto units = [](double v) { return static_cast<std::uint64_t>(v * 0x1p600 * 0x1p474); };
  const std::uint64_t b = units(big), s = units(small);  // below 2^52
  const U128 four_n = shl(add(mul64(b, b), mul64(s, s)), 2);
  auto r = static_cast<std::uint64_t>(std::sqrt(static_cast<double>(b) * b + static_cast<double>(s) * s) + 0.5);
  // r is the nearest whole root once (2r - 1)^2 < 4n < (2r + 1)^2 (never equal: 4n is even).
  while (less(mul64(2 * r + 1, 2 * r + 1), four_n)) ++r;
  while (r > 0 && less(four_n, mul64(2 * r - 1, 2 * r - 1))) --r;
  return static_cast<double>(r) * 0x1p-1074;  // below 2^53 units: exact
}

}  // namespace

using detail::DD;

double hypot(double x, double y) {
  if (std::isinf(x) || std::isinf(y)) return HUGE_VAL;
  if (std::isnan(x) || std::isnan(y)) return x + y;
  double big = std::fabs(x), small = std::fabs(y);
  if (small > big) std::swap(big, small);
  // Past 2^-60 of the larger, the smaller's square is below the result's last bit.
  if (small <= big * 0x1p-60) return big;
  if (big < 0x1p-1022) return hypot_of_subnormals(big, small);
  int k = 0;
  if (big > 0x1p300) big *= 0x1p-600, small *= 0x1p-600, k = 600;
  if (big < 0x1p-300) big *= 0x1p600, small *= 0x1p600, k = -600;
  const DD b2 = detail::two_prod(big, big), s2 = detail::two_prod(small, small);
  DD sum = detail::two_sum(b2.hi, s2.hi);
  sum = detail::fast_two_sum(sum.hi, sum.lo + (b2.lo + s2.lo));
  // One Newton step from the rounded root, with the residual taken exactly.
  const double r0 = std::sqrt(sum.hi);
  const DD sq = detail::two_prod(r0, r0);
  const double residual = ((sum.hi - sq.hi) - sq.lo) + sum.lo;
  const double root = r0 + residual / (2.0 * r0);
  return k == 0 ? root : k > 0 ? root * 0x1p600 : root * 0x1p-600;
}

}  // namespace gmath
