#pragma once
// The game's maths constants, computed once at 300 bits by tools/make_math_tables.py.
#include <cstdint>

#include "base/game_math_dd.h"

namespace gmath::detail {

extern const DD kSinJ[52], kCosJ[52];   // sin and cos of j/64
extern const DD kAtanJ[65];             // atan(j/64)
extern const double kLogInv[128];       // about 1 / the middle of mantissa bucket j
extern const DD kLogOfInv[128];         // -log(kLogInv[j])
extern const DD kExp2J[64];             // 2^(j/64)
extern const DD kLogCoeffs[7];          // 1, -1/2, 1/3, ... : log(1+v) / v
extern const DD kAtanCoeffs[2];         // 1, -1/3: atan(u) / u in u^2
extern const DD kExpCoeffs[7];          // 1/k!
extern const DD kSinCoeffs[3];          // 1, -1/6, 1/120: sin(t) / t in t^2
extern const DD kCosCoeffs[3];          // 1, -1/2, 1/24: cos(t) in t^2
extern const double kPio2Parts[3];      // pi/2 to 159 bits
extern const double kPio2Short[3];      // pi/2 to 119 bits, the first two parts of 33 bits
extern const DD kPio2, kPi, kLn2;
extern const double kLn2Over64Parts[3];
extern const std::uint64_t kTwoOverPiWords[21];  // 2/pi, 64 bits a word after the point

}  // namespace gmath::detail
