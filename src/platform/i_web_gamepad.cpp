// Controllers through the browser's Gamepad API, standard layout only.
#include "platform/i_web_gamepad.h"

#include <emscripten/html5.h>

#include <algorithm>
#include <cstring>

#include "system/input.h"

namespace {

// The browser's standard layout: button indices and the controls they are.
struct ButtonControl {
  int index;
  PadControl control;
};
constexpr ButtonControl kButtons[] = {
    {0, PadControl::A},       {1, PadControl::B},         {2, PadControl::X},
    {3, PadControl::Y},       {8, PadControl::Back},      {9, PadControl::Start},
    {12, PadControl::DpadUp}, {13, PadControl::DpadDown}, {14, PadControl::DpadLeft},
    {15, PadControl::DpadRight},
};
constexpr int kRightTrigger = 7;

// The browser gives -1..1 (triggers 0..1): on SDL's scale the thresholds are the desktop's.
int sdl_scale(double value) { return static_cast<int>(std::clamp(value, -1.0, 1.0) * 32767.0); }

}  // namespace

void WebGamepads::poll() {
  if (emscripten_sample_gamepad_data() != EMSCRIPTEN_RESULT_SUCCESS) return;
  const int count = emscripten_get_num_gamepads();
  for (int pad = 0; pad < PadKeyState::kMaxPads; ++pad) {
    EmscriptenGamepadEvent g{};
    const bool here = pad < count && emscripten_get_gamepad_status(pad, &g) == EMSCRIPTEN_RESULT_SUCCESS &&
                      g.connected && std::strcmp(g.mapping, "standard") == 0;
    if (!here) {
      if (connected_[pad]) {
        connected_[pad] = false;
        // Whatever it held is let go, and the round stops to ask, as on the desktop.
        pad_unplug(state_, pad);
        input_controller_removed();
      }
      continue;
    }
    connected_[pad] = true;
    for (const ButtonControl& b : kButtons)
      if (b.index < g.numButtons) pad_apply(state_, pad, b.control, g.digitalButton[b.index] != 0);
    if (kRightTrigger < g.numButtons)
      pad_apply(state_, pad, PadControl::RightTrigger, sdl_scale(g.analogButton[kRightTrigger]) >= kTriggerPress);
    if (g.numAxes >= 2) {
      pad_stick(state_, pad, PadControl::StickLeft, PadControl::StickRight, sdl_scale(g.axis[0]));
      pad_stick(state_, pad, PadControl::StickUp, PadControl::StickDown, sdl_scale(g.axis[1]));
    }
  }
}
