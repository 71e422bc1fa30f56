// Input that arrives between the game's looks at the keyboard.
#include "platform/queued_input.h"

#include "system/input.h"

bool InputQueue::push(QueuedInput input) {
  const std::size_t next = (tail_ + 1) % kCapacity;
  if (next == head_) return false;
  ring_[tail_] = input;
  tail_ = next;
  return true;
}

void InputQueue::apply() {
  while (head_ != tail_) {
    const QueuedInput& input = ring_[head_];
    const bool key = input.code < pressed_in_frame_.size();
    if (input.kind == QueuedInput::Kind::Up && key && pressed_in_frame_[input.code] != 0 &&
        frame_ - pressed_in_frame_[input.code] < 2)
      return;
    head_ = (head_ + 1) % kCapacity;
    switch (input.kind) {
      case QueuedInput::Kind::Down:
        if (key && !input_key_held(input.code)) pressed_in_frame_[input.code] = frame_;
        input_key_event(input.code, true);
        break;
      case QueuedInput::Kind::Up:
        input_key_event(input.code, false);
        break;
      case QueuedInput::Kind::Typed:
        input_typed_key(input.code);
        break;
      case QueuedInput::Kind::FullScreenSwitch:
        input_full_screen_switch();
        break;
      case QueuedInput::Kind::FocusLost:
        // Key-ups that happen while the page is away never arrive.
        input_release_all_keys();
        input_focus_lost();
        break;
    }
  }
}
