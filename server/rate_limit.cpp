// Token buckets per address; full buckets are forgotten when the map grows, so a sweep of
// addresses cannot grow it without bound.
#include "rate_limit.h"

#include <cmath>

namespace {
constexpr std::size_t kMaxAddresses = 50000;
}

bool RateLimit::take(const std::string& address, int& retry_after) {
  if (per_second_ <= 0.0) return true;
  const auto now = std::chrono::steady_clock::now();
  std::lock_guard<std::mutex> hold(mutex_);
  if (buckets_.size() >= kMaxAddresses) {
    for (auto it = buckets_.begin(); it != buckets_.end();) {
      const double idle = std::chrono::duration<double>(now - it->second.at).count();
      it = it->second.tokens + idle * per_second_ >= burst_ ? buckets_.erase(it) : std::next(it);
    }
  }
  auto [it, fresh] = buckets_.try_emplace(address, Bucket{burst_, now});
  Bucket& b = it->second;
  if (!fresh) {
    const double idle = std::chrono::duration<double>(now - b.at).count();
    b.tokens = std::min(burst_, b.tokens + idle * per_second_);
    b.at = now;
  }
  if (b.tokens >= 1.0) {
    b.tokens -= 1.0;
    return true;
  }
  retry_after = static_cast<int>(std::ceil((1.0 - b.tokens) / per_second_));
  if (retry_after < 1) retry_after = 1;
  return false;
}
