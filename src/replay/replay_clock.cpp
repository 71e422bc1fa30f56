// Clock readings as whole counts, so a recording stores small differences instead of doubles.
#include <cmath>

#include "replay/replay_format.h"

double replay_clock_from_micro(double first, std::int64_t count) {
  // The headless runner's own formula: origin plus microseconds.
  return first + static_cast<double>(count) * 1e-6;
}

bool replay_micro_count(double first, double reading, std::int64_t& count) {
  const double span = reading - first;
  if (!std::isfinite(span) || std::fabs(span) > 1e12) return false;
  count = std::llround(span * 1e6);
  return true;
}

double replay_clock_from_nano(std::int64_t nanoseconds) {
  // The window's formula: whole seconds plus the fraction of a nanosecond counter.
  constexpr std::int64_t kPerSecond = 1000000000;
  return static_cast<double>(nanoseconds / kPerSecond) +
         static_cast<double>(nanoseconds % kPerSecond) / static_cast<double>(kPerSecond);
}

bool replay_nano_count(double reading, std::int64_t& nanoseconds) {
  if (!(reading >= 0.0 && reading < 9e9)) return false;
  const double whole = std::floor(reading);
  nanoseconds = static_cast<std::int64_t>(whole) * 1000000000 + std::llround((reading - whole) * 1e9);
  return true;
}
