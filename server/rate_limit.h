#pragma once
// Per-address rate limit: a bucket of tokens per address, refilled at a steady rate.
#include <chrono>
#include <mutex>
#include <string>
#include <unordered_map>

class RateLimit {
 public:
  // per_minute tokens a minute, up to burst held; 0 per_minute: no limit.
  RateLimit(double per_minute, double burst) : per_second_(per_minute / 60.0), burst_(burst) {}
  // True when the address may go on; otherwise retry_after gets the seconds until it may.
  bool take(const std::string& address, int& retry_after);

 private:
  struct Bucket {
    double tokens;
    std::chrono::steady_clock::time_point at;
  };
  double per_second_, burst_;
  std::mutex mutex_;
  std::unordered_map<std::string, Bucket> buckets_;
};
