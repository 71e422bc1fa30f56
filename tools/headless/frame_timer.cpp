// The runner's per-frame CPU figures.
#include "headless/frame_timer.h"

#include <algorithm>
#include <ctime>

namespace {
constexpr std::size_t kBuckets = 200000;  // up to 200 ms per frame, 1 us each
}

double thread_cpu_seconds() {
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

CpuHistogram::CpuHistogram() : buckets_(kBuckets, 0) {}

void CpuHistogram::add(double us) {
  max_us_ = std::max(max_us_, us);
  ++buckets_[std::min(static_cast<std::size_t>(us), kBuckets - 1)];
}

double CpuHistogram::percentile_us(double fraction) const {
  std::uint64_t total = 0;
  for (std::uint32_t n : buckets_) total += n;
  if (total == 0) return 0.0;
  const std::uint64_t rank = static_cast<std::uint64_t>(fraction * static_cast<double>(total - 1));
  std::uint64_t seen = 0;
  for (std::size_t i = 0; i < buckets_.size(); ++i) {
    seen += buckets_[i];
    if (seen > rank) return static_cast<double>(i);
  }
  return static_cast<double>(buckets_.size() - 1);
}

void FrameTimer::present(const Image& page) {
  const double handed_over = thread_cpu_seconds();
  if (game_resumed_ >= 0.0) game_.add((handed_over - game_resumed_) * 1e6);
  inner_.present(page);
  game_resumed_ = thread_cpu_seconds();
  runner_.add((game_resumed_ - handed_over) * 1e6);
}
