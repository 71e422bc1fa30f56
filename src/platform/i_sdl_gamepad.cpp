// Game controllers through SDL2, hot-plugged.
#include "platform/i_sdl_gamepad.h"

#include "system/input.h"

namespace {

bool button_control(Uint8 button, PadControl& out) {
  switch (button) {
    case SDL_CONTROLLER_BUTTON_DPAD_UP: out = PadControl::DpadUp; return true;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN: out = PadControl::DpadDown; return true;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT: out = PadControl::DpadLeft; return true;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: out = PadControl::DpadRight; return true;
    case SDL_CONTROLLER_BUTTON_A: out = PadControl::A; return true;
    case SDL_CONTROLLER_BUTTON_B: out = PadControl::B; return true;
    case SDL_CONTROLLER_BUTTON_X: out = PadControl::X; return true;
    case SDL_CONTROLLER_BUTTON_Y: out = PadControl::Y; return true;
    case SDL_CONTROLLER_BUTTON_START: out = PadControl::Start; return true;
    case SDL_CONTROLLER_BUTTON_BACK: out = PadControl::Back; return true;
    default: return false;
  }
}

}  // namespace

SdlGamepads::SdlGamepads() {
  ids_.fill(-1);
  ready_ = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
}

SdlGamepads::~SdlGamepads() {
  for (int slot = 0; slot < PadKeyState::kMaxPads; ++slot) close_slot(slot);
  if (ready_) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

int SdlGamepads::slot_of(SDL_JoystickID id) const {
  for (int slot = 0; slot < PadKeyState::kMaxPads; ++slot)
    if (pads_[slot] && ids_[slot] == id) return slot;
  return -1;
}

void SdlGamepads::open(int device_index) {
  if (!SDL_IsGameController(device_index)) return;
  const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(device_index);
  if (slot_of(id) >= 0) return;
  for (int slot = 0; slot < PadKeyState::kMaxPads; ++slot)
    if (!pads_[slot]) {
      pads_[slot] = SDL_GameControllerOpen(device_index);
      ids_[slot] = pads_[slot] ? id : -1;
      return;
    }
}

void SdlGamepads::close_slot(int slot) {
  if (!pads_[slot]) return;
  // Whatever this controller held is let go, or a key would stay down for ever.
  pad_unplug(state_, slot);
  SDL_GameControllerClose(pads_[slot]);
  pads_[slot] = nullptr;
  ids_[slot] = -1;
}

void SdlGamepads::axis(int slot, int which, int value) {
  auto stick = [&](PadControl negative, PadControl positive) { pad_stick(state_, slot, negative, positive, value); };
  switch (which) {
    case SDL_CONTROLLER_AXIS_LEFTX: stick(PadControl::StickLeft, PadControl::StickRight); break;
    case SDL_CONTROLLER_AXIS_LEFTY: stick(PadControl::StickUp, PadControl::StickDown); break;
    case SDL_CONTROLLER_AXIS_TRIGGERRIGHT:
      pad_apply(state_, slot, PadControl::RightTrigger, value >= kTriggerPress);
      break;
    default: break;
  }
}

bool SdlGamepads::handle(const SDL_Event& event) {
  if (!ready_) return false;
  switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED: open(event.cdevice.which); return true;
    case SDL_CONTROLLERDEVICEREMOVED: {
      const int slot = slot_of(event.cdevice.which);
      if (slot >= 0) {
        close_slot(slot);
        // A player whose controller dropped out must not lose the round meanwhile.
        input_controller_removed();
      }
      return true;
    }
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP: {
      const int slot = slot_of(event.cbutton.which);
      PadControl control;
      if (slot >= 0 && button_control(event.cbutton.button, control))
        pad_apply(state_, slot, control, event.type == SDL_CONTROLLERBUTTONDOWN);
      return true;
    }
    case SDL_CONTROLLERAXISMOTION: {
      const int slot = slot_of(event.caxis.which);
      if (slot >= 0) axis(slot, event.caxis.axis, event.caxis.value);
      return true;
    }
    default: return false;
  }
}
