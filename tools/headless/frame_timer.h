#pragma once
// The runner's per-frame CPU figures. Sits outermost at the platform seam, so that "the game"
// is the CPU time between two pages shown, and everything done with a page once the game hands
// it over (the page digest, the recorder's checkpoint or the replay's check, the autoplayer,
// PNG dumps) is the runner's own, counted apart. Either way a replay reads like the same round
// autoplayed.
#include <cstdint>
#include <vector>

#include "replay/wrapped_platform.h"

// Per-frame CPU times in 1 us buckets.
class CpuHistogram {
 public:
  CpuHistogram();
  void add(double us);
  double percentile_us(double fraction) const;
  double max_us() const { return max_us_; }

 private:
  std::vector<std::uint32_t> buckets_;  // bucket i: frames that took i microseconds
  double max_us_ = 0.0;
};

class FrameTimer final : public WrappedPlatform {
 public:
  explicit FrameTimer(Platform& inner) : WrappedPlatform(inner) {}
  void present(const Image& page) override;
  const CpuHistogram& game() const { return game_; }
  const CpuHistogram& runner() const { return runner_; }

 private:
  CpuHistogram game_, runner_;
  double game_resumed_ = -1.0;  // thread CPU seconds when the game got the last page back
};

// CPU time of the calling thread, in seconds.
double thread_cpu_seconds();
