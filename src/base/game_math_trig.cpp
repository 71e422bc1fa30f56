// Sine and cosine: the argument is reduced to a quarter turn plus r, |r| <= pi/4 (Cody and
// Waite's pi/2 in parts for ordinary sizes, Payne and Hanek's bits of 2/pi for huge ones), r is
// split into j/64 plus a small t, and sin, cos of t are summed with the tabled sin, cos of j/64.
// A quick pass in doubles, good to 2^-62, settles the rounding for nearly every argument; when
// its error could straddle a rounding boundary, the whole sum is taken again in double-double.
#include <cmath>
#include <cstdint>

#include "base/game_math.h"
#include "base/game_math_tables.h"
#include "base/game_math_u128.h"

namespace gmath {
namespace {

using namespace detail;

struct Reduced {
  int quadrant;  // x = quadrant * pi/2 + r, modulo a full turn
  DD r;
};

// |x| < 2^28: n below 2^28 keeps every n * part exact as a double-double.
Reduced reduce_medium(double x) {
  const double n = nearest(x * 0x1.45f306dc9c883p-1);  // 2/pi
  const DD a = two_prod(n, kPio2Parts[0]);
  DD r = two_sum(x - a.hi, -a.lo);  // x - a.hi is exact: both lie within a factor of two
  r = add(r, neg(two_prod(n, kPio2Parts[1])));
  r = add(r, -n * kPio2Parts[2]);
  return {static_cast<int>(static_cast<std::int64_t>(n) & 3), r};
}

// v = value + rest (or value - rest when rest_negative), value the double nearest v, ties to even.
struct Rounded {
  double value;
  U128 rest;
  bool rest_negative;
};

Rounded round_to_double(U128 v) {
  const int length = bit_length(v);
  if (length <= 53) return {static_cast<double>(v.lo), {0, 0}, false};  // exact
  const int drop = length - 53;
  std::uint64_t kept = shr(v, drop).lo;
  const U128 dropped = sub(v, shl(U128{0, kept}, drop));
  const U128 half = shl(U128{0, 1}, drop - 1);
  const bool tie = !less(dropped, half) && !less(half, dropped);
  Rounded r{0.0, dropped, false};
  if (less(half, dropped) || (tie && (kept & 1))) {
    ++kept;  // 2^53 at most, still a double
    r.rest = sub(shl(U128{0, 1}, drop), dropped);
    r.rest_negative = true;
  }
  // kept * 2^drop, drop below 128: exact.
  r.value = static_cast<double>(kept) * from_bits(static_cast<std::uint64_t>(1023 + drop) << 52);
  return r;
}

// Any finite x: x * 2/pi modulo 4 in 128-bit fixed point (2 integer bits, 126 after the point),
// from only the words of 2/pi that reach those bits for x's exponent.
Reduced reduce_huge(double x) {
  const std::uint64_t bits = bits_of(x);
  const int e = static_cast<int>((bits >> 52) & 0x7ff) - 1075;  // |x| = m * 2^e
  const std::uint64_t m = (bits & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52);
  U128 acc{0, 0};
  for (int i = 0; i < 21; ++i) {
    const int shift = e - 64 * (i + 1) + 126;
    if (shift >= 128) continue;  // whole multiples of 4
    if (shift <= -117) break;    // below the last bit kept
    const U128 p = mul64(m, kTwoOverPiWords[i]);
    acc = add(acc, shift >= 0 ? shl(p, shift) : shr(p, -shift));
  }
  int quadrant = static_cast<int>(acc.hi >> 62);
  // The fraction, taken to the nearest quadrant: within [-2^125, 2^125), as a sign and a size.
  U128 f{acc.hi & ((std::uint64_t{1} << 62) - 1), acc.lo};
  bool negative = false;
  if (f.hi >= (std::uint64_t{1} << 61)) {
    f = sub(U128{std::uint64_t{1} << 62, 0}, f);
    negative = true;
    ++quadrant;
  }
  const Rounded h = round_to_double(f);
  const double fh = h.value, fl_size = round_to_double(h.rest).value;
  const double fl = h.rest_negative ? -fl_size : fl_size;
  DD r = mul(DD{fh * 0x1p-126, fl * 0x1p-126}, kPio2);
  if (negative != (x < 0)) r = neg(r);
  if (x < 0) quadrant = -quadrant;
  return {quadrant & 3, r};
}

Reduced reduce(double x) {
  const double ax = std::fabs(x);
  if (ax < 0.785) return {0, {x, 0.0}};
  return ax < 0x1p28 ? reduce_medium(x) : reduce_huge(x);
}

// sin r and cos r, |r| <= pi/4 + a hair.
void sin_cos_dd(DD r, DD* s, DD* c) {
  const double j = nearest(r.hi * 64.0);
  const DD t = two_sum(r.hi - j * 0.015625, r.lo);  // the difference is exact (Sterbenz)
  const int index = static_cast<int>(j < 0 ? -j : j);
  const DD sj = j < 0 ? neg(kSinJ[index]) : kSinJ[index];
  const DD cj = kCosJ[index];
  // |t| <= 1/128: the terms from t^6 on are below 2^-54 of the result and need only a double.
  const DD t2 = mul(t, t);
  const double z = t2.hi;
  const double sin_tail = -1.0 / 5040 + z * (1.0 / 362880 + z * (-1.0 / 39916800 + z / 6227020800.0));
  const double cos_tail = -1.0 / 720 + z * (1.0 / 40320 + z * (-1.0 / 3628800 + z / 479001600.0));
  const DD sin_t = mul(horner(t2, kSinCoeffs, 3, sin_tail), t);
  const DD cos_t_minus_1 = mul(horner(t2, kCosCoeffs + 1, 2, cos_tail), t2);
  *s = add(sj, add(mul(sj, cos_t_minus_1), mul(cj, sin_t)));
  *c = add(cj, add(mul(cj, cos_t_minus_1), neg(mul(sj, sin_t))));
}

// The quick pass for |x| < 2^20: false when its result is too near a rounding boundary.
bool sin_cos_quick(double x, double* s, double* c) {
  const double n = nearest(x * 0x1.45f306dc9c883p-1);
  const double r1 = x - n * kPio2Short[0];  // exact: n * part has at most 53 bits
  const double w = n * kPio2Short[1];
  const double r2 = r1 - w;
  const DD r = fast_two_sum(r2, ((r1 - r2) - w) - n * kPio2Short[2]);
  const double rh = r.hi, rl = r.lo;
  const double j = nearest(rh * 64.0);
  const double th = rh - j * 0.015625;
  const int index = static_cast<int>(j < 0 ? -j : j);
  const double sh = j < 0 ? -kSinJ[index].hi : kSinJ[index].hi, sl = j < 0 ? -kSinJ[index].lo : kSinJ[index].lo;
  const double ch = kCosJ[index].hi, cl = kCosJ[index].lo;
  const double t2 = th * th;
  const double sin_t_minus_t = th * t2 * (-1.0 / 6 + t2 * (1.0 / 120 + t2 * (-1.0 / 5040)));
  // th * rl: the low part of t moves t^2/2 by that much, which the bound cannot ignore.
  const double cos_t_minus_1 = t2 * (-0.5 + t2 * (1.0 / 24 + t2 * (-1.0 / 720 + t2 * (1.0 / 40320)))) - th * rl;
  // sin r = S + C t + S (cos t - 1) + C (sin t - t); cos r = C - S t + C (cos t - 1) - S (sin t - t).
  const DD cs = two_prod(ch, th), ss = two_prod(sh, th);
  const DD sin_head = two_sum(sh, cs.hi), cos_head = two_sum(ch, -ss.hi);
  const double sin_rest = sin_head.lo + cs.lo + sl + ch * rl + cl * th + sh * cos_t_minus_1 + ch * sin_t_minus_t;
  const double cos_rest = cos_head.lo - ss.lo + cl - sh * rl - sl * th + ch * cos_t_minus_1 - sh * sin_t_minus_t;
  // Error bound: the rounding errors of rest's eleven operations stay below 2^-63.5 of the
  // result and the series' truncation below 2^-74, so 2^-62 has room; plus what the 119 bits of
  // pi/2 leave after n of them.
  const double slack = std::fabs(n) * 0x1p-117;
  const double se = std::fabs(sin_head.hi) * 0x1p-62 + slack, ce = std::fabs(cos_head.hi) * 0x1p-62 + slack;
  const double sv = sin_head.hi + (sin_rest + se), cv = cos_head.hi + (cos_rest + ce);
  if (sv != sin_head.hi + (sin_rest - se) || cv != cos_head.hi + (cos_rest - ce)) return false;
  switch (static_cast<std::int64_t>(n) & 3) {
    case 0: *s = sv, *c = cv; break;
    case 1: *s = cv, *c = -sv; break;
    case 2: *s = -sv, *c = -cv; break;
    default: *s = -cv, *c = sv; break;
  }
  return true;
}

bool finite(double x) { return std::fabs(x) <= 0x1.fffffffffffffp1023; }

}  // namespace

void sincos(double x, double* s, double* c) {
  if (!finite(x)) {
    *s = *c = x - x;  // NaN for infinities and NaN
    return;
  }
  if (std::fabs(x) < 0x1p-27) {
    // x - x^3/6 rounds to x and 1 - x^2/2 to 1: signed zeros and subnormals come back as they are.
    *s = x;
    *c = 1.0;
    return;
  }
  if (std::fabs(x) < 0x1p20 && sin_cos_quick(x, s, c)) return;
  const Reduced red = reduce(x);
  DD sr, cr;
  sin_cos_dd(red.r, &sr, &cr);
  const double sv = round(sr), cv = round(cr);
  switch (red.quadrant) {
    case 0: *s = sv, *c = cv; break;
    case 1: *s = cv, *c = -sv; break;
    case 2: *s = -sv, *c = -cv; break;
    default: *s = -cv, *c = sv; break;
  }
}

namespace {

// True when d lies exactly halfway between two floats, where rounding it again could go the
// wrong way.
bool halfway_between_floats(double d) {
  return (bits_of(d) & 0x1fffffffu) == 0x10000000u;
}

// The float nearest exact, given d, its double rounding, which lies halfway between two floats.
float nearer_float(double d, DD exact) {
  const double toward_zero = from_bits(bits_of(d) & ~std::uint64_t{0x1fffffff});
  const double away = toward_zero + 2.0 * (d - toward_zero);
  const bool beyond = (d > 0) == ((exact.hi - d) + exact.lo > 0);
  return static_cast<float>(beyond ? away : toward_zero);
}

}  // namespace

void sincos(float x, float* s, float* c) {
  double sd, cd;
  sincos(static_cast<double>(x), &sd, &cd);
  *s = static_cast<float>(sd);
  *c = static_cast<float>(cd);
  if (!halfway_between_floats(sd) && !halfway_between_floats(cd)) return;
  // Rare: take the double-double sums again and let their low part decide.
  const Reduced red = reduce(x);
  DD sr, cr;
  sin_cos_dd(red.r, &sr, &cr);
  const DD by_quadrant[4][2] = {{sr, cr}, {cr, neg(sr)}, {neg(sr), neg(cr)}, {neg(cr), sr}};
  if (halfway_between_floats(sd)) *s = nearer_float(sd, by_quadrant[red.quadrant][0]);
  if (halfway_between_floats(cd)) *c = nearer_float(cd, by_quadrant[red.quadrant][1]);
}

float sin(float x) {
  float s, c;
  sincos(x, &s, &c);
  return s;
}

float cos(float x) {
  float s, c;
  sincos(x, &s, &c);
  return c;
}

double sin(double x) {
  double s, c;
  sincos(x, &s, &c);
  return s;
}

double cos(double x) {
  double s, c;
  sincos(x, &s, &c);
  return c;
}

}  // namespace gmath
