#pragma once
// Input that arrives between the game's looks at the keyboard (the browser's key callbacks):
// queued as it comes and applied to the input state in order when the game pumps events. A
// key released soon after it went down stays held until the page of the frame it went down in
// and the next page are both shown: a screen reads some keys after it shows its page (the
// round's Escape), and a tap shorter than a frame (a finger on a touch screen) must reach
// every place that reads keys. What follows the release waits behind it.
#include <array>
#include <cstdint>

struct QueuedInput {
  enum class Kind : std::uint8_t { Down, Up, Typed, FullScreenSwitch, FocusLost } kind;
  std::uint16_t code;  // Down, Up: the set-1 scancode; Typed: the typed-key code
};

class InputQueue {
 public:
  // False when the queue is full (the input is dropped: the game is not looking).
  bool push(QueuedInput input);
  // Applies what is due to the input state (system/input.h).
  void apply();
  // A page was shown: taps held back for it may end once a second one is.
  void frame_shown() { ++frame_; }
  bool empty() const { return head_ == tail_; }

 private:
  static constexpr std::size_t kCapacity = 256;
  std::array<QueuedInput, kCapacity> ring_{};
  std::size_t head_ = 0, tail_ = 0;
  std::uint64_t frame_ = 1;
  std::array<std::uint64_t, 128> pressed_in_frame_{};  // 0: not pressed since the queue began
};
