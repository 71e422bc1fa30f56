// atan2: the smaller of |x|, |y| over the larger gives z in (0, 1] as a double-double; atan z
// is the tabled atan(j/64) plus atan of (z - j/64) / (1 + z j/64), which is below 1/128; then
// pi/2 and pi fold it into the right octant, all before the one rounding.
#include <cmath>

#include "base/game_math.h"
#include "base/game_math_tables.h"

namespace gmath {
namespace {

using namespace detail;

// atan z for 2^-60 <= z <= 1.
DD atan_dd(DD z) {
  const double j = nearest(z.hi * 64.0);
  const double c = j * 0.015625;
  DD u = two_sum(z.hi - c, z.lo);  // z.hi - c is exact (Sterbenz)
  if (j != 0) {
    const DD zc = two_prod(z.hi, c);  // c has 7 bits: exact
    u = div(u, add(add(DD{1.0, 0.0}, zc), z.lo * c));
  }
  // |u| <= 1/128: from u^4 on the series is below 2^-28 of u and a double carries it to 2^-83.
  const DD u2 = mul(u, u);
  const double w = u2.hi;
  const double tail = 1.0 / 5 + w * (-1.0 / 7 + w * (1.0 / 9 + w * (-1.0 / 11 + w * (1.0 / 13))));
  return add(kAtanJ[static_cast<int>(j)], mul(horner(u2, kAtanCoeffs, 2, tail), u));
}

}  // namespace

double atan2(double y, double x) {
  if (std::isnan(x) || std::isnan(y)) return x + y;
  const bool west = std::signbit(x);
  const double ay = std::fabs(y), ax = std::fabs(x);
  DD theta;  // the angle of (|x|, |y|), then folded west
  if (std::isinf(ax) && std::isinf(ay)) {
    theta = mul(kPio2, west ? 1.5 : 0.5);
  } else if (std::isinf(ay)) {
    theta = kPio2;
  } else if (std::isinf(ax) || (ay == 0.0 && ax == 0.0)) {
    theta = west ? kPi : DD{0.0, 0.0};
  } else {
    const bool steep = ay > ax;
    double num = steep ? ax : ay, den = steep ? ay : ax;
    const double q = num / den;
    if (q < 0x1p-60) {
      // atan z = z (1 - z^2/3) rounds as z does: a quotient of doubles is never that near a midpoint.
      theta = {q, 0.0};
    } else {
      // Bring the larger near 1 so that the division's remainder neither overflows nor underflows.
      if (den > 0x1p300) num *= 0x1p-600, den *= 0x1p-600;
      if (den < 0x1p-300) num *= 0x1p600, den *= 0x1p600;
      const DD p = two_prod(q, den);
      theta = atan_dd(fast_two_sum(q, ((num - p.hi) - p.lo) / den));
    }
    if (steep) theta = add(kPio2, neg(theta));
    if (west) theta = add(kPi, neg(theta));
  }
  return std::copysign(round(theta), y);
}

}  // namespace gmath
