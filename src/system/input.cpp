// The key state, the typed-key ring, clock and sleep.
#include "system/input.h"

#include <array>
#include <type_traits>

#include "base/little_endian.h"
#include "system/i_platform.h"

namespace {

// Everything the game can read from the keyboard lives in this one block of plain bytes: a
// replay recorder captures it whole, so a reading added here is recorded with no more code.
// Its numbers are stored low byte first, so a recording plays on a machine of either order.
struct InputState {
  std::array<bool, 128> held;
  LittleEndian<std::uint32_t> presses;
  // A ring of 16 entries holds at most 15 waiting keys; a 16th pushes out the oldest.
  std::array<LittleEndian<std::uint16_t>, 16> ring;
  LittleEndian<std::int32_t> ring_head;  // oldest waiting entry
  LittleEndian<std::int32_t> ring_tail;  // next free entry
  LittleEndian<std::int32_t> full_screen_switches;  // Alt+Enter presses not yet taken by the game
  // kFocusLost once the window lost the focus or a controller, until taken; kCloseAsked once its close button
  // was pressed while close requests were held.
  LittleEndian<std::int32_t> window_events;
};
// Byte-wise comparison and copies must see no padding; recordings hold this layout.
static_assert(std::has_unique_object_representations_v<InputState>);
static_assert(sizeof(InputState) == 180 && sizeof(bool) == 1);

InputState state{};
auto& held = state.held;
auto& presses = state.presses;
auto& ring = state.ring;
auto& ring_head = state.ring_head;
auto& ring_tail = state.ring_tail;
auto& full_screen_switches = state.full_screen_switches;
auto& window_events = state.window_events;
constexpr std::int32_t kFocusLost = 1, kCloseAsked = 2;

// Set by the game, not read from the machine: a replay's game sets it the same way.
bool closes_held = false;

}  // namespace

std::span<std::uint8_t> input_state_bytes() {
  return {reinterpret_cast<std::uint8_t*>(&state), sizeof state};
}

bool input_key_held(int scancode) { return scancode >= 0 && scancode <= 127 && held[scancode]; }

void input_key_event(int scancode, bool down) {
  if (scancode < 0 || scancode > 127) return;
  if (down && !held[scancode]) presses = presses + 1;
  held[scancode] = down;
}

void input_typed_key(std::uint16_t code) {
  ring[ring_tail] = code;
  ring_tail = (ring_tail + 1) % 16;
  if (ring_tail == ring_head) ring_head = (ring_head + 1) % 16;
}

void input_release_all_keys() { held.fill(false); }

void input_full_screen_switch() { full_screen_switches = full_screen_switches + 1; }

void input_focus_lost() { window_events = window_events | kFocusLost; }

void input_close_request() {
  if (!closes_held) program_exit(0);
  window_events = window_events | kCloseAsked;
}

void hold_close_requests(bool hold) { closes_held = hold; }

bool close_requested() { return (window_events & kCloseAsked) != 0; }

// The same flag as the focus: the round asks the same question, and replays need no new field.
void input_controller_removed() { window_events = window_events | kFocusLost; }

int take_full_screen_switches() {
  platform().pump_events();
  const int n = full_screen_switches;
  full_screen_switches = 0;
  return n;
}

bool take_focus_lost() {
  platform().pump_events();
  const bool lost = (window_events & kFocusLost) != 0;
  window_events = window_events & ~kFocusLost;
  return lost;
}

int key_down(int scancode) {
  if (scancode < 0 || scancode > 127) return 0;
  platform().pump_events();
  return held[scancode] ? -1 : 0;
}

std::string key_read() {
  platform().pump_events();
  if (ring_head == ring_tail) return {};
  const std::uint16_t code = ring[ring_head];
  ring_head = (ring_head + 1) % 16;
  if (code < 256) return std::string(1, static_cast<char>(code));
  return std::string{static_cast<char>(0xFF), static_cast<char>(code & 0xFF)};
}

double timer_seconds() { return platform().now_seconds(); }

void sleep_ms(int ms) {
  if (ms == 0 || ms < -1) return;
  if (ms == -1) {  // until a key is pressed
    const std::uint32_t before = presses;
    while (presses == before) platform().sleep_ms(50);
    return;
  }
  if (ms <= 99) {
    platform().sleep_ms(ms);
    return;
  }
  // Long sleeps go in 50 ms slices and end early on a key press.
  const std::uint32_t before = presses;
  while (ms > 0 && presses == before) {
    const int slice = ms < 50 ? ms : 50;
    platform().sleep_ms(slice);
    ms -= slice;
  }
}
