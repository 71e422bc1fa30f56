#pragma once
// 128-bit unsigned numbers in two 64-bit words, for the maths' few exact integer steps: 32-bit
// machines have no wider integer type.
#include <cstdint>

namespace gmath::detail {

struct U128 {
  std::uint64_t hi, lo;
};

inline U128 add(U128 a, U128 b) {
  const std::uint64_t lo = a.lo + b.lo;
  return {a.hi + b.hi + (lo < a.lo ? 1 : 0), lo};
}

inline U128 sub(U128 a, U128 b) { return {a.hi - b.hi - (a.lo < b.lo ? 1 : 0), a.lo - b.lo}; }

inline bool less(U128 a, U128 b) { return a.hi < b.hi || (a.hi == b.hi && a.lo < b.lo); }

// Shifts by 0 to 127 bits.
inline U128 shl(U128 a, int n) {
  if (n == 0) return a;
  if (n >= 64) return {a.lo << (n - 64), 0};
  return {(a.hi << n) | (a.lo >> (64 - n)), a.lo << n};
}

inline U128 shr(U128 a, int n) {
  if (n == 0) return a;
  if (n >= 64) return {0, a.hi >> (n - 64)};
  return {a.hi >> n, (a.lo >> n) | (a.hi << (64 - n))};
}

// a * b in full, from four 32-bit products.
inline U128 mul64(std::uint64_t a, std::uint64_t b) {
  const std::uint64_t a0 = a & 0xffffffffu, a1 = a >> 32, b0 = b & 0xffffffffu, b1 = b >> 32;
  const std::uint64_t p00 = a0 * b0, p01 = a0 * b1, p10 = a1 * b0, p11 = a1 * b1;
  const std::uint64_t mid = (p00 >> 32) + (p01 & 0xffffffffu) + (p10 & 0xffffffffu);
  return {p11 + (p01 >> 32) + (p10 >> 32) + (mid >> 32), (mid << 32) | (p00 & 0xffffffffu)};
}

inline int bit_length(U128 a) {
  int n = 0;
  for (std::uint64_t w = a.hi ? a.hi : a.lo; w; w >>= 1) ++n;
  return a.hi ? n + 64 : n;
}

}  // namespace gmath::detail
