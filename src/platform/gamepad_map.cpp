// What each controller button and stick holds down on the keyboard.
#include "platform/gamepad_map.h"

#include "system/input.h"

PadKeys pad_control_keys(PadControl control) {
  switch (control) {
    case PadControl::DpadUp:
    case PadControl::StickUp: return {{kKeyUp, 0}};
    case PadControl::DpadDown:
    case PadControl::StickDown: return {{kKeyDown, 0}};
    case PadControl::DpadLeft:
    case PadControl::StickLeft: return {{kKeyLeft, 0}};
    case PadControl::DpadRight:
    case PadControl::StickRight: return {{kKeyRight, 0}};
    case PadControl::A: return {{kKeySpace, kKeyY}};
    case PadControl::RightTrigger: return {{kKeySpace, 0}};
    case PadControl::X: return {{kKey1, 0}};
    case PadControl::Y: return {{kKey2, 0}};
    case PadControl::B: return {{kKey3, kKeyN}};
    case PadControl::Start: return {{kKeyEnter, 0}};
    case PadControl::Back: return {{kKeyEscape, 0}};
    case PadControl::Count: break;
  }
  return {{0, 0}};
}

bool PadKeyState::set(int pad, PadControl control, bool held) {
  if (pad < 0 || pad >= kMaxPads || control >= PadControl::Count) return false;
  bool& slot = held_[pad][static_cast<int>(control)];
  if (slot == held) return false;
  slot = held;
  return true;
}

void PadKeyState::unplug(int pad) {
  if (pad >= 0 && pad < kMaxPads) held_[pad].fill(false);
}

int PadKeyState::holders(int scancode) const {
  int n = 0;
  for (const auto& pad : held_)
    for (int c = 0; c < static_cast<int>(PadControl::Count); ++c)
      if (pad[c]) {
        const PadKeys keys = pad_control_keys(static_cast<PadControl>(c));
        n += keys.scancodes[0] == scancode || keys.scancodes[1] == scancode;
      }
  return n;
}

void pad_apply(PadKeyState& state, int pad, PadControl control, bool held) {
  if (!state.set(pad, control, held)) return;
  // Back opens the abort question: an A held for firing must not answer "yes" by itself, so
  // its Y lets go until A is pressed anew.
  if (control == PadControl::Back && held && state.holders(kKeyY) > 0) input_key_event(kKeyY, false);
  for (int scancode : pad_control_keys(control).scancodes) {
    if (scancode == 0) continue;
    // A key is released only when no other control still stands for it.
    if (held) input_key_event(scancode, true);
    else if (state.holders(scancode) == 0) input_key_event(scancode, false);
  }
}

void pad_unplug(PadKeyState& state, int pad) {
  for (int c = 0; c < static_cast<int>(PadControl::Count); ++c)
    pad_apply(state, pad, static_cast<PadControl>(c), false);
  state.unplug(pad);
}

void pad_stick(PadKeyState& state, int pad, PadControl negative, PadControl positive, int value) {
  if (value <= -kStickPress) pad_apply(state, pad, negative, true);
  else if (value > -kStickRelease) pad_apply(state, pad, negative, false);
  if (value >= kStickPress) pad_apply(state, pad, positive, true);
  else if (value < kStickRelease) pad_apply(state, pad, positive, false);
}
