#pragma once
// Where the input state keeps its fields, found by what the input module's own calls change:
// a recording's hand edits put values there.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "headless/headless_platform.h"
#include "system/input.h"

struct Layout {
  std::uint16_t held_key = 0, ring_entry = 0, head = 0, tail = 0, switches = 0, events = 0;
};

inline Layout input_layout() {
  HeadlessPlatform backend;
  platform_install(&backend);
  const auto state = input_state_bytes();
  std::fill(state.begin(), state.end(), 0);
  auto first_change = [&](auto&& step, std::size_t nth = 0) {
    const std::vector<std::uint8_t> before(state.begin(), state.end());
    step();
    for (std::size_t i = 0; i < before.size(); ++i)
      if (before[i] != state[i] && nth-- == 0) return static_cast<std::uint16_t>(i);
    return std::uint16_t{0xFFFF};
  };
  Layout at;
  at.held_key = first_change([] { input_key_event(kKeyY, true); });
  at.ring_entry = first_change([] { input_typed_key(0x0101); });
  at.tail = first_change([] { input_typed_key(0x0101); }, 2);
  at.head = first_change([] { key_read(); });
  at.switches = first_change([] { input_full_screen_switch(); });
  at.events = first_change([] { input_focus_lost(); });
  std::fill(state.begin(), state.end(), 0);
  platform_install(nullptr);
  return at;
}
