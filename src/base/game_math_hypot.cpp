// hypot: the sum of squares is exact as a double-double, and one Newton step from the rounded
// square root, with the residual taken exactly, gives the root's correct rounding.
#include <cmath>
#include <utility>

#include "base/game_math.h"
#include "base/game_math_dd.h"

namespace gmath {

using detail::DD;

double hypot(double x, double y) {
  if (std::isinf(x) || std::isinf(y)) return HUGE_VAL;
  if (std::isnan(x) || std::isnan(y)) return x + y;
  double big = std::fabs(x), small = std::fabs(y);
  if (small > big) std::swap(big, small);
  // Past 2^-60 of the larger, the smaller's square is below the result's last bit.
  if (small <= big * 0x1p-60) return big;
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
