// The game's maths against values computed at 300 bits, its edges, and this machine's C library
// over the arguments the game uses. Results are compared bit for bit: a last bit is a pixel.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <limits>
#include <random>
#include <sstream>
#include <string>

#include "base/game_math.h"

namespace {

// By copy: the browser's C++ library has no std::bit_cast.
template <typename Bits, typename Value>
Bits bits_as(Value v) {
  static_assert(sizeof(Bits) == sizeof(Value));
  Bits b;
  std::memcpy(&b, &v, sizeof b);
  return b;
}
std::uint64_t bits(double v) { return bits_as<std::uint64_t>(v); }

// Same bits, or both NaN.
::testing::AssertionResult same(double got, double want) {
  if (bits(got) == bits(want) || (std::isnan(got) && std::isnan(want))) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << std::hexfloat << got << " instead of " << want;
}

double call(const std::string& name, double a, double b) {
  if (name == "sin") return gmath::sin(a);
  if (name == "cos") return gmath::cos(a);
  if (name == "sinf") return gmath::sin(static_cast<float>(a));
  if (name == "cosf") return gmath::cos(static_cast<float>(a));
  if (name == "atan2") return gmath::atan2(a, b);
  if (name == "pow") return gmath::pow(a, b);
  if (name == "hypot") return gmath::hypot(a, b);
  ADD_FAILURE() << "unknown function " << name;
  return 0.0;
}

TEST(GameMath, MatchesTheCorrectlyRoundedValuesPinnedAt300Bits) {
  std::ifstream in(TORVANE_SOURCE_DIR "/tests/base/game_math_pinned.txt");
  ASSERT_TRUE(in) << "tests/base/game_math_pinned.txt is missing";
  std::string line;
  int checked = 0;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    std::string name, a, b, c;
    fields >> name >> a >> b >> c;
    const bool two = !c.empty();
    const double x = std::strtod(a.c_str(), nullptr), y = two ? std::strtod(b.c_str(), nullptr) : 0.0;
    const double want = std::strtod((two ? c : b).c_str(), nullptr);
    EXPECT_TRUE(same(call(name, x, y), want)) << line;
    ++checked;
  }
  EXPECT_GT(checked, 2500);
}

TEST(GameMath, SinAndCosEdges) {
  const double inf = std::numeric_limits<double>::infinity(), nan = std::nan("");
  const double least = std::numeric_limits<double>::denorm_min();
  EXPECT_TRUE(same(gmath::sin(0.0), 0.0));
  EXPECT_TRUE(same(gmath::sin(-0.0), -0.0));
  EXPECT_TRUE(same(gmath::cos(-0.0), 1.0));
  EXPECT_TRUE(same(gmath::sin(-least), -least));
  EXPECT_TRUE(same(gmath::cos(least), 1.0));
  for (double bad : {inf, -inf, nan}) {
    EXPECT_TRUE(std::isnan(gmath::sin(bad))) << bad;
    EXPECT_TRUE(std::isnan(gmath::cos(bad))) << bad;
  }
  // sincos gives the very bits of sin and cos, in every quadrant and on both reductions.
  for (double x : {0.3, 2.0, -3.5, 5.0, 1e9, -1e300}) {
    double s, c;
    gmath::sincos(x, &s, &c);
    EXPECT_TRUE(same(s, gmath::sin(x))) << x;
    EXPECT_TRUE(same(c, gmath::cos(x))) << x;
  }
}

TEST(GameMath, Atan2QuadrantsZerosAndInfinities) {
  const double inf = std::numeric_limits<double>::infinity();
  const double pi = 0x1.921fb54442d18p+1, half = 0x1.921fb54442d18p+0, quarter = 0x1.921fb54442d18p-1;
  const double three_quarters = 0x1.2d97c7f3321d2p+1;
  struct Case {
    double y, x, want;
  } cases[] = {
      {0.0, 0.0, 0.0},       {-0.0, 0.0, -0.0},     {0.0, -0.0, pi},       {-0.0, -0.0, -pi},
      {0.0, 5.0, 0.0},       {-0.0, 5.0, -0.0},     {0.0, -5.0, pi},       {-0.0, -5.0, -pi},
      {5.0, 0.0, half},      {-5.0, -0.0, -half},   {1.0, 1.0, quarter},   {-1.0, -1.0, -three_quarters},
      {1.0, -1.0, three_quarters}, {-1.0, 1.0, -quarter},
      {inf, inf, quarter},   {-inf, -inf, -three_quarters}, {inf, 3.0, half}, {-2.0, inf, -0.0},
      {2.0, -inf, pi},       {1e-310, 1.0, 1e-310},  {1.0, 1e-310, half},
  };
  for (const Case& c : cases) EXPECT_TRUE(same(gmath::atan2(c.y, c.x), c.want)) << c.y << ", " << c.x;
  EXPECT_TRUE(std::isnan(gmath::atan2(std::nan(""), 1.0)));
  EXPECT_TRUE(std::isnan(gmath::atan2(1.0, std::nan(""))));
}

TEST(GameMath, PowAndHypotSpecialCases) {
  const double inf = std::numeric_limits<double>::infinity(), nan = std::nan("");
  struct Case {
    double x, y, want;
  } pows[] = {
      {nan, 0.0, 1.0},  {1.0, nan, 1.0},    {0.0, 3.0, 0.0},    {-0.0, 3.0, -0.0},  {-0.0, 2.5, 0.0},
      {0.0, -1.0, inf}, {-0.0, -1.0, -inf}, {-0.0, -2.0, inf},  {-2.0, 3.0, -8.0},  {-2.0, -2.0, 0.25},
      {0.5, inf, 0.0},  {0.5, -inf, inf},   {2.0, inf, inf},    {-1.0, inf, 1.0},   {inf, -0.5, 0.0},
      {-inf, 3.0, -inf}, {-inf, -3.0, -0.0}, {10.0, 400.0, inf}, {10.0, -400.0, 0.0}, {0.1, 2.0, 0.1 * 0.1},
  };
  for (const Case& c : pows) EXPECT_TRUE(same(gmath::pow(c.x, c.y), c.want)) << c.x << " ^ " << c.y;
  EXPECT_TRUE(std::isnan(gmath::pow(-2.0, 0.5)));
  EXPECT_TRUE(std::isnan(gmath::pow(nan, 1.5)));
  EXPECT_TRUE(same(gmath::hypot(-inf, nan), inf));
  EXPECT_TRUE(same(gmath::hypot(nan, 3.0), nan));
  EXPECT_TRUE(same(gmath::hypot(-0.0, 0.0), 0.0));
  EXPECT_TRUE(same(gmath::hypot(1e308, 1e308), 0x1.92c80954c51f5p+1023));
}

// This machine's C library is not correctly rounded everywhere (every difference checked at
// 300 bits was its last bit, not ours), so the two agree on nearly every argument, never by
// more than one unit in the last place; the floors sit just under the rates seen.
void agree(const char* what, double floor, const std::function<double(double, double)>& ours,
           const std::function<double(double, double)>& theirs,
           const std::function<std::pair<double, double>(std::mt19937_64&)>& draw, bool single = false) {
  std::mt19937_64 rng(19);
  constexpr int kCount = 1000000;
  int same_bits = 0;
  for (int i = 0; i < kCount; ++i) {
    const auto [a, b] = draw(rng);
    const double o = ours(a, b), t = theirs(a, b);
    if (bits(o) == bits(t)) {
      ++same_bits;
      continue;
    }
    // Units in the last place of the result's own precision.
    const std::int64_t apart = single ? std::int64_t{bits_as<std::int32_t>(float(o))} - bits_as<std::int32_t>(float(t))
                                      : static_cast<std::int64_t>(bits(o)) - static_cast<std::int64_t>(bits(t));
    ASSERT_LE(std::abs(apart), 1) << what << std::hexfloat << " at " << a << ", " << b << ": " << o << " vs " << t;
  }
  const double rate = 100.0 * same_bits / kCount;
  std::printf("[ agrees  ] %-6s %.4f %% of %d arguments bit for bit with the C library\n", what, rate, kCount);
  EXPECT_GE(rate, floor) << what;
}

TEST(GameMath, AgreesWithTheCLibraryOverTheGamesArguments) {
  // Angles: headings and sound phases within a turn either way; screen offsets for atan2 and
  // hypot; the synthesiser's glides for pow.
  auto angle = [](std::mt19937_64& r) { return std::pair{std::uniform_real_distribution<double>(-7.0, 7.0)(r), 0.0}; };
  auto screen = [](std::mt19937_64& r) {
    std::uniform_real_distribution<double> d(-700.0, 700.0);
    return std::pair{d(r), d(r)};
  };
  auto glide = [](std::mt19937_64& r) {
    return std::pair{std::uniform_real_distribution<double>(0.05, 20.0)(r), std::uniform_real_distribution<double>(0.0, 1.0)(r)};
  };
  agree("sin", 99.8, [](double a, double) { return gmath::sin(a); }, [](double a, double) { return std::sin(a); }, angle);
  agree("cos", 99.8, [](double a, double) { return gmath::cos(a); }, [](double a, double) { return std::cos(a); }, angle);
  auto single = [](std::mt19937_64& r) {
    return std::pair{static_cast<double>(std::uniform_real_distribution<float>(-7.0f, 7.0f)(r)), 0.0};
  };
  agree("sinf", 98.5, [](double a, double) { return double(gmath::sin(float(a))); },
        [](double a, double) { return double(std::sin(float(a))); }, single, true);
  agree("cosf", 98.7, [](double a, double) { return double(gmath::cos(float(a))); },
        [](double a, double) { return double(std::cos(float(a))); }, single, true);
  agree("atan2", 99.85, [](double a, double b) { return gmath::atan2(a, b); }, [](double a, double b) { return std::atan2(a, b); }, screen);
  agree("pow", 99.85, [](double a, double b) { return gmath::pow(a, b); }, [](double a, double b) { return std::pow(a, b); }, glide);
  agree("hypot", 99.3, [](double a, double b) { return gmath::hypot(a, b); }, [](double a, double b) { return std::hypot(a, b); }, screen);
}

}  // namespace
