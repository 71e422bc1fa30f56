#pragma once
// A controller that exists only inside this process: SDL announces, opens and reads it like a
// plugged-in pad, so the backend takes the same way with it as with a player's. SDL's joystick
// part must be up (the backend brings it up with its window).
#include <SDL2/SDL.h>

class VirtualPad {
 public:
  VirtualPad() {
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    const int device = SDL_JoystickAttachVirtualEx(&desc);
    id_ = SDL_JoystickGetDeviceInstanceID(device);
    joystick_ = SDL_JoystickOpen(device);
  }
  ~VirtualPad() { unplug(); }
  VirtualPad(const VirtualPad&) = delete;
  VirtualPad& operator=(const VirtualPad&) = delete;

  void button(SDL_GameControllerButton which, bool down) { SDL_JoystickSetVirtualButton(joystick_, which, down); }
  // -32768..32767.
  void stick(SDL_GameControllerAxis which, int value) { SDL_JoystickSetVirtualAxis(joystick_, which, Sint16(value)); }
  // 0..32767: SDL spreads the joystick's whole range over a trigger, so this rounds up.
  void trigger(SDL_GameControllerAxis which, int value) { stick(which, int((value * 65535LL + 32766) / 32767) - 32768); }
  void unplug() {
    // Once the backend has shut SDL down the pad went with it.
    if (joystick_ && SDL_WasInit(SDL_INIT_JOYSTICK)) {
      for (int device = 0; device < SDL_NumJoysticks(); ++device)
        if (SDL_JoystickGetDeviceInstanceID(device) == id_) SDL_JoystickDetachVirtual(device--);
      SDL_JoystickClose(joystick_);
    }
    joystick_ = nullptr;
  }

 private:
  SDL_JoystickID id_ = -1;
  SDL_Joystick* joystick_ = nullptr;
};
