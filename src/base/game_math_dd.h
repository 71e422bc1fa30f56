#pragma once
// Double-double arithmetic for the game's maths: a value carried as hi + lo, about 106 bits, from
// exact IEEE operations only. Products are split by Veltkamp's method instead of a fused
// multiply-add, so every compiler and machine gives the same bits.
#include <cstdint>
#include <cstring>

// Every step below must round to double, and so must the whole game's arithmetic: the x87 unit
// keeps 80 bits in its registers, which plays another game (on 32-bit x86 the build asks for
// SSE2 doubles).
#if defined(__FLT_EVAL_METHOD__) && __FLT_EVAL_METHOD__ != 0
#error "doubles must be evaluated as doubles: on 32-bit x86 build with -msse2 -mfpmath=sse"
#endif

namespace gmath::detail {

// A double's bits and back, by copy: the browser's C++ library has no std::bit_cast.
inline std::uint64_t bits_of(double v) {
  std::uint64_t b;
  std::memcpy(&b, &v, sizeof b);
  return b;
}
inline double from_bits(std::uint64_t b) {
  double v;
  std::memcpy(&v, &b, sizeof v);
  return v;
}

struct DD {
  double hi, lo;
};

// a + b exactly, in any order of magnitude.
inline DD two_sum(double a, double b) {
  const double s = a + b;
  const double bb = s - a;
  return {s, (a - (s - bb)) + (b - bb)};
}

// a + b exactly when |a| >= |b| (or a is zero).
inline DD fast_two_sum(double a, double b) {
  const double s = a + b;
  return {s, b - (s - a)};
}

// a * b exactly (no overflow for |a|, |b| below 2^995).
inline DD two_prod(double a, double b) {
  const double p = a * b;
  const double ca = 134217729.0 * a, cb = 134217729.0 * b;  // 2^27 + 1
  const double ah = ca - (ca - a), al = a - ah;
  const double bh = cb - (cb - b), bl = b - bh;
  return {p, ((ah * bh - p) + ah * bl + al * bh) + al * bl};
}

inline DD add(DD a, DD b) {
  DD s = two_sum(a.hi, b.hi);
  const DD t = two_sum(a.lo, b.lo);
  s = fast_two_sum(s.hi, s.lo + t.hi);
  return fast_two_sum(s.hi, s.lo + t.lo);
}

inline DD add(DD a, double b) {
  const DD s = two_sum(a.hi, b);
  return fast_two_sum(s.hi, s.lo + a.lo);
}

inline DD neg(DD a) { return {-a.hi, -a.lo}; }

inline DD mul(DD a, DD b) {
  const DD p = two_prod(a.hi, b.hi);
  return fast_two_sum(p.hi, p.lo + (a.hi * b.lo + a.lo * b.hi));
}

inline DD mul(DD a, double b) {
  const DD p = two_prod(a.hi, b);
  return fast_two_sum(p.hi, p.lo + a.lo * b);
}

inline DD div(DD a, DD b) {
  const double q = a.hi / b.hi;
  const DD p = two_prod(q, b.hi);
  const double r = ((((a.hi - p.hi) - p.lo) + a.lo) - q * b.lo) / b.hi;
  return fast_two_sum(q, r);
}

// The double nearest hi + lo.
inline double round(DD a) { return a.hi + a.lo; }

// Nearest integer of |x| < 2^51, ties to even, as a double (adding and removing 1.5 * 2^52).
inline double nearest(double x) { return (x + 6755399441055744.0) - 6755399441055744.0; }

// c[0] + x * (c[1] + x * (... + x * (c[n-1] + x * tail))) with double-double coefficients.
inline DD horner(DD x, const DD* c, int n, double tail) {
  DD acc = add(c[n - 1], x.hi * tail);
  for (int i = n - 2; i >= 0; --i) acc = add(c[i], mul(acc, x));
  return acc;
}

}  // namespace gmath::detail
