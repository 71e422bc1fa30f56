// pow: exp(y log x) with log x and the product carried in double-double, so the exponential's
// argument is good to about 2^-100 and the one rounding at the end decides the result.
//   log: x = 2^e m, m within [sqrt(1/2), sqrt(2)), m times a tabled near-reciprocal is 1 + v
//        with |v| <= 1/128, and log(1 + v) is a short series.
//   exp: z = (64 k + j) ln2/64 + s with |s| <= ln2/128; 2^(j/64) is tabled, exp s a short series.
#include <cmath>
#include <cstdint>

#include "base/game_math.h"
#include "base/game_math_tables.h"

namespace gmath {
namespace {

using namespace detail;

// log x for finite x > 0.
DD log_dd(double x) {
  int e = 0;
  if (x < 0x1p-1022) {
    x *= 0x1p54;  // subnormal: make it normal first
    e = -54;
  }
  const std::uint64_t bits = bits_of(x);
  e += static_cast<int>(bits >> 52) - 1023;
  const int j = static_cast<int>((bits >> 45) & 127);  // the mantissa's top 7 bits
  // From sqrt(2) on the mantissa is halved, so log x near 1 from below cancels nothing.
  const std::uint64_t exponent = j >= 53 ? 1022 : 1023;
  if (j >= 53) ++e;
  const double m = from_bits((bits & ((std::uint64_t{1} << 52) - 1)) | (exponent << 52));
  const DD p = two_prod(m, kLogInv[j]);
  const DD v = two_sum(p.hi - 1.0, p.lo);  // p.hi - 1 is exact: p.hi is near 1
  // log(1 + v) = v (1 - v/2 + v^2/3 - ...); from v^7 on a double suffices.
  const double w = v.hi;
  const double tail = -1.0 / 8 + w * (1.0 / 9 + w * (-1.0 / 10 + w * (1.0 / 11 - w / 12)));
  const DD log1p_v = mul(horner(v, kLogCoeffs, 7, tail), v);
  const DD e_ln2 = add(two_prod(e, kLn2.hi), e * kLn2.lo);
  return add(add(e_ln2, kLogOfInv[j]), log1p_v);
}

// v * 2^k for any k a result can need, in steps that stay within the normal exponents.
double scale(double v, int k) {
  while (k > 1000) v *= 0x1p1000, k -= 1000;
  while (k < -1000) v *= 0x1p-1000, k += 1000;
  return v * from_bits(static_cast<std::uint64_t>(k + 1023) << 52);
}

// exp z rounded, for z.hi within (-746, 710).
double exp_rounded(DD z) {
  const double n = nearest(z.hi * 0x1.71547652b82fep+6);  // 64/ln2
  const DD a = two_prod(n, kLn2Over64Parts[0]);
  DD s = two_sum(z.hi - a.hi, -a.lo);  // z.hi - a.hi is exact (Sterbenz)
  s = add(s, z.lo);
  s = add(s, neg(two_prod(n, kLn2Over64Parts[1])));
  s = add(s, -n * kLn2Over64Parts[2]);
  // exp s = 1 + s + s^2/2 + ...; from s^7 on a double suffices.
  const double w = s.hi;
  const double tail = 1.0 / 5040 + w * (1.0 / 40320 + w * (1.0 / 362880 + w / 3628800));
  const DD exp_s = horner(s, kExpCoeffs, 7, tail);
  const std::int64_t k = static_cast<std::int64_t>(n);
  const DD r = mul(kExp2J[k & 63], exp_s);
  const int k2 = static_cast<int>(k >> 6);  // floor(k / 64)
  if (k2 > -1022) return scale(round(r), k2);
  // A subnormal result: count it in units of the least subnormal and round that count once.
  const double units_hi = scale(r.hi, k2 + 1074), units_lo = scale(r.lo, k2 + 1074);
  double units = nearest(units_hi);
  const double rest = (units_hi - units) + units_lo;
  if (rest > 0.5 || (rest == 0.5 && nearest(units * 0.5) * 2.0 != units)) units += 1.0;
  if (rest < -0.5 || (rest == -0.5 && nearest(units * 0.5) * 2.0 != units)) units -= 1.0;
  return units * 0x1p-1074;
}

bool is_integer(double y) {
  if (std::fabs(y) >= 0x1p52) return true;
  return static_cast<double>(static_cast<std::int64_t>(y)) == y;
}

bool is_odd_integer(double y) { return std::fabs(y) < 0x1p53 && is_integer(y) && !is_integer(y * 0.5); }

}  // namespace

double pow(double x, double y) {
  if (y == 0.0 || x == 1.0) return 1.0;  // even for NaN
  if (std::isnan(x) || std::isnan(y)) return x + y;
  if (y == 2.0) return x * x;  // exact before the rounding, as every C library gives it
  if (y == 1.0) return x;
  const double ax = std::fabs(x);
  if (std::isinf(y)) {
    if (ax == 1.0) return 1.0;
    return (ax < 1.0) == (y > 0.0) ? 0.0 : y * y;
  }
  const bool odd = is_odd_integer(y);
  if (x == 0.0 || std::isinf(x)) {
    // 0 to a positive power and infinity to a negative one are zero; the others infinite.
    const double magnitude = (x == 0.0) == (y > 0.0) ? 0.0 : HUGE_VAL;
    return odd ? std::copysign(magnitude, x) : magnitude;
  }
  if (x < 0.0 && !is_integer(y)) return (x - x) / (x - x);  // NaN
  // From 2^64 on, |y log x| passes 2^11 for every x but 1 (|log x| is 2^-53 at the least), far
  // beyond the doubles' range; such a y is even, and y log x itself could overflow on the way.
  if (std::fabs(y) >= 0x1p64) return (ax > 1.0) == (y > 0.0) ? HUGE_VAL : 0.0;
  const double sign = x < 0.0 && odd ? -1.0 : 1.0;
  const DD l = log_dd(ax);
  const DD z = add(two_prod(y, l.hi), y * l.lo);
  if (z.hi > 709.8) return sign * HUGE_VAL;
  if (z.hi < -745.2) return sign * 0.0;
  return sign * exp_rounded(z);
}

}  // namespace gmath
