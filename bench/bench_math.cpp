// The game's maths against the C library it replaces, over the game's own arguments. The C
// library is only the yardstick here; the game never calls it.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "base/game_math.h"

namespace {

struct Args {
  std::vector<double> angle, screen_x, screen_y, base, power;
  Args() {
    std::mt19937_64 rng(19);
    std::uniform_real_distribution<double> a(0.0, 6.3), s(-700.0, 700.0), b(0.05, 20.0), p(0.0, 1.0);
    for (int i = 0; i < 1024; ++i) {
      angle.push_back(a(rng));
      screen_x.push_back(s(rng));
      screen_y.push_back(s(rng));
      base.push_back(b(rng));
      power.push_back(p(rng));
    }
  }
};
const Args& args() {
  static const Args a;
  return a;
}

template <typename F>
void one(benchmark::State& state, const std::vector<double>& xs, F f) {
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(f(xs[i]));
    i = (i + 1) & 1023;
  }
}

template <typename F>
void two(benchmark::State& state, const std::vector<double>& xs, const std::vector<double>& ys, F f) {
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(f(xs[i], ys[i]));
    i = (i + 1) & 1023;
  }
}

void BM_MathSin(benchmark::State& s) { one(s, args().angle, [](double x) { return gmath::sin(x); }); }
void BM_LibmSin(benchmark::State& s) { one(s, args().angle, [](double x) { return std::sin(x); }); }
void BM_MathCos(benchmark::State& s) { one(s, args().angle, [](double x) { return gmath::cos(x); }); }
void BM_LibmCos(benchmark::State& s) { one(s, args().angle, [](double x) { return std::cos(x); }); }
void BM_MathSinCos(benchmark::State& s) {
  one(s, args().angle, [](double x) {
    double sn, cs;
    gmath::sincos(x, &sn, &cs);
    return sn + cs;
  });
}
void BM_LibmSinCos(benchmark::State& s) { one(s, args().angle, [](double x) { return std::sin(x) + std::cos(x); }); }
void BM_MathAtan2(benchmark::State& s) { two(s, args().screen_y, args().screen_x, [](double y, double x) { return gmath::atan2(y, x); }); }
void BM_LibmAtan2(benchmark::State& s) { two(s, args().screen_y, args().screen_x, [](double y, double x) { return std::atan2(y, x); }); }
void BM_MathPow(benchmark::State& s) { two(s, args().base, args().power, [](double x, double y) { return gmath::pow(x, y); }); }
void BM_LibmPow(benchmark::State& s) { two(s, args().base, args().power, [](double x, double y) { return std::pow(x, y); }); }
void BM_MathHypot(benchmark::State& s) { two(s, args().screen_x, args().screen_y, [](double x, double y) { return gmath::hypot(x, y); }); }
void BM_LibmHypot(benchmark::State& s) { two(s, args().screen_x, args().screen_y, [](double x, double y) { return std::hypot(x, y); }); }

BENCHMARK(BM_MathSin);
BENCHMARK(BM_LibmSin);
BENCHMARK(BM_MathCos);
BENCHMARK(BM_LibmCos);
BENCHMARK(BM_MathSinCos);
BENCHMARK(BM_LibmSinCos);
BENCHMARK(BM_MathAtan2);
BENCHMARK(BM_LibmAtan2);
BENCHMARK(BM_MathPow);
BENCHMARK(BM_LibmPow);
BENCHMARK(BM_MathHypot);
BENCHMARK(BM_LibmHypot);

}  // namespace
