#pragma once
// Controllers in the page: the Gamepad API, polled once per look at the keys, through the same
// controller map as the desktop's.
#include <array>

#include "platform/gamepad_map.h"

class WebGamepads {
 public:
  void poll();

 private:
  PadKeyState state_;
  std::array<bool, PadKeyState::kMaxPads> connected_{};
};
