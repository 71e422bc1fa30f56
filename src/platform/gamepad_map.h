#pragma once
// Game controllers act through the keyboard's key state: each control holds the scancodes of
// the keys it stands for. A controls two keys (Space to fire, Y to answer "yes") and B two
// (3 for the blasters, N for "no"), since Y and N matter only in the questions.
#include <array>
#include <cstdint>

enum class PadControl : std::uint8_t {
  DpadUp, DpadDown, DpadLeft, DpadRight,
  StickUp, StickDown, StickLeft, StickRight,  // the left stick past its dead zone
  A, B, X, Y, RightTrigger, Start, Back,
  Count
};

struct PadKeys {
  std::array<int, 2> scancodes;  // 0 = none
};

PadKeys pad_control_keys(PadControl control);

// Tracks which controls of which controller are held, so a key stays held while any control
// standing for it is, and an unplugged controller lets go of everything it held.
class PadKeyState {
 public:
  static constexpr int kMaxPads = 8;
  // Returns true when the held state of the control changed.
  bool set(int pad, PadControl control, bool held);
  void unplug(int pad);
  // The number of held controls (on any pad) standing for a scancode.
  int holders(int scancode) const;

 private:
  std::array<std::array<bool, static_cast<int>(PadControl::Count)>, kMaxPads> held_{};
};

// Applies a change to the game's key state (input_key_event) for the keys of the control.
void pad_apply(PadKeyState& state, int pad, PadControl control, bool held);
void pad_unplug(PadKeyState& state, int pad);

// Stick and trigger positions on SDL's scale (-32768..32767; triggers 0..32767), shared by every
// backend so a controller feels the same everywhere. Half-way and a bit: a resting stick never
// turns the line, a pushed one always does; between the two a stick keeps what it held.
inline constexpr int kStickPress = 16000;
inline constexpr int kStickRelease = 12000;
inline constexpr int kTriggerPress = 12000;
// One stick axis: negative and positive are the controls of its two directions.
void pad_stick(PadKeyState& state, int pad, PadControl negative, PadControl positive, int value);
