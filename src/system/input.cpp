// The key state, the typed-key ring, clock and sleep.
#include "system/input.h"

#include <signal.h>

#include <array>
#include <csignal>
#include <cstddef>
#include <cstring>
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

volatile std::sig_atomic_t close_signals = 0;

void note_close_signal(int) { close_signals = 1; }

constexpr std::int32_t kRingSize = 16;
// Far more Alt+Enter presses than can come between two looks at the keyboard.
constexpr std::int32_t kMaxSwitches = 65535;

bool in_ring(std::int32_t index) { return index >= 0 && index < kRingSize; }

// Only the key codes the backends make: a character, or 0xFF00 with a scancode.
bool typed_code(std::uint16_t code) { return code < 256 || ((code >> 8) == 0xFF && (code & 0xFF) <= 127); }

// A ring whose indices a bad state put out of range is taken as empty, never indexed.
bool ring_usable() {
  if (in_ring(ring_head) && in_ring(ring_tail)) return true;
  ring_head = ring_tail = 0;
  return false;
}

}  // namespace

std::span<std::uint8_t> input_state_bytes() {
  return {reinterpret_cast<std::uint8_t*>(&state), sizeof state};
}

std::string input_state_problem(std::span<const std::uint8_t> bytes) {
  if (bytes.size() != sizeof(InputState))
    return "an input state of " + std::to_string(bytes.size()) + " bytes, where this build's has " +
           std::to_string(sizeof(InputState));
  // Every byte of a bool is 0 or 1: any other is no value a bool can have.
  for (std::size_t i = 0; i < sizeof state.held; ++i)
    if (bytes[offsetof(InputState, held) + i] > 1)
      return "key " + std::to_string(i) + " held as " + std::to_string(bytes[offsetof(InputState, held) + i]) +
             ", neither 0 nor 1";
  InputState s;
  std::memcpy(&s, bytes.data(), sizeof s);
  for (std::size_t i = 0; i < s.ring.size(); ++i)
    if (!typed_code(s.ring[i]))
      return "typed key " + std::to_string(s.ring[i]) + " in ring entry " + std::to_string(i) + ", a code no keyboard gives";
  if (!in_ring(s.ring_head))
    return "the typed-key ring's head at " + std::to_string(s.ring_head) + ", outside 0..15";
  if (!in_ring(s.ring_tail))
    return "the typed-key ring's tail at " + std::to_string(s.ring_tail) + ", outside 0..15";
  if (s.full_screen_switches < 0 || s.full_screen_switches > kMaxSwitches)
    return std::to_string(s.full_screen_switches) + " full-screen switches waiting, outside 0.." + std::to_string(kMaxSwitches);
  if ((s.window_events & ~(kFocusLost | kCloseAsked)) != 0)
    return "window events " + std::to_string(s.window_events) + ", of which only 1 and 2 exist";
  return "";
}

void catch_close_signals() {
  struct sigaction action {};
  action.sa_handler = note_close_signal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (const int signal : {SIGHUP, SIGTERM, SIGINT}) sigaction(signal, &action, nullptr);
}

void pass_close_signals() {
  if (close_signals == 0) return;
  close_signals = 0;
  input_close_request();
}

bool input_key_held(int scancode) { return scancode >= 0 && scancode <= 127 && held[scancode]; }

void input_key_event(int scancode, bool down) {
  if (scancode < 0 || scancode > 127) return;
  if (down && !held[scancode]) presses = presses + 1;
  held[scancode] = down;
}

void input_typed_key(std::uint16_t code) {
  ring_usable();
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
  if (!ring_usable() || ring_head == ring_tail) return {};
  const std::uint16_t code = ring[ring_head];
  ring_head = (ring_head + 1) % 16;
  if (code < 256) return std::string(1, static_cast<char>(code));
  return std::string{static_cast<char>(0xFF), static_cast<char>(code & 0xFF)};
}

std::uint16_t input_take_typed() {
  if (ring_head == ring_tail) return 0;
  // Masked: the indices may come from a recording.
  const std::uint32_t head = static_cast<std::uint32_t>(ring_head) % 16;
  ring_head = static_cast<std::int32_t>((head + 1) % 16);
  return ring[head];
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
