#pragma once
// Game controllers, hot-plugged, acting through the game's key state (platform/gamepad_map.h).
#include <SDL2/SDL.h>

#include <array>

#include "platform/gamepad_map.h"

class SdlGamepads {
 public:
  SdlGamepads();
  ~SdlGamepads();
  SdlGamepads(const SdlGamepads&) = delete;
  SdlGamepads& operator=(const SdlGamepads&) = delete;

  // Returns true when the event was a controller's.
  bool handle(const SDL_Event& event);

 private:
  int slot_of(SDL_JoystickID id) const;
  void open(int device_index);
  void close_slot(int slot);
  void axis(int slot, int axis, int value);

  bool ready_ = false;
  std::array<SDL_GameController*, PadKeyState::kMaxPads> pads_{};
  std::array<SDL_JoystickID, PadKeyState::kMaxPads> ids_{};
  PadKeyState state_;
};
