#pragma once
// The game's own maths: every sine, cosine, arc tangent, power and hypotenuse the game, the sound
// synthesiser and the tools take. C libraries round these differently in the last bit, and a
// last bit moves a ball a pixel some frames later; these are built from + - * / and sqrt alone
// (exact IEEE operations, no fused multiply-add), evaluated in double-double and rounded once,
// so they are correctly rounded but in vanishingly rare cases and give the same bits on every
// compiler, C library and machine.
//
// The overloads mirror the C++ library's: gmath::sin(x) works in the precision std::sin(x)
// would, so a call keeps its arithmetic when it moves here. Float versions exist only where the
// code takes them today; the other float overloads are deleted so that a float argument cannot
// silently switch precision.
namespace gmath {

double sin(double x);
double cos(double x);
// Both at once for the price of one argument reduction; the same bits as sin and cos.
void sincos(double x, double* s, double* c);
// C's atan2: the angle of (x, y) in [-pi, pi], with its signed zeros and infinities.
double atan2(double y, double x);
// C's pow, its special cases included; pow(x, 2) is x * x.
double pow(double x, double y);
// sqrt(x^2 + y^2) without overflow or underflow on the way.
double hypot(double x, double y);

// Single precision, correctly rounded from the same double-double sums.
float sin(float x);
float cos(float x);
void sincos(float x, float* s, float* c);

float atan2(float, float) = delete;
float pow(float, float) = delete;
float hypot(float, float) = delete;

}  // namespace gmath
