#pragma once
// Sits between the game and the replay player and notes the clock readings the game takes:
// the first is the session's clock origin (what a ticket fixes), the last ends its length.
#include "replay/wrapped_platform.h"

class ClockWatch final : public WrappedPlatform {
 public:
  using WrappedPlatform::WrappedPlatform;
  double now_seconds() override {
    last_ = inner_.now_seconds();
    if (!seen_) first_ = last_;
    seen_ = true;
    return last_;
  }
  double origin() const { return first_; }
  // Seconds from the first reading to the latest.
  double elapsed() const { return seen_ ? last_ - first_ : 0.0; }

 private:
  bool seen_ = false;
  double first_ = 0.0, last_ = 0.0;
};
