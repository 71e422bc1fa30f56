#pragma once
// The SDL2 backend. Only main() and the i_sdl files know about it (and the backend's tests).
#include <memory>

#include "system/i_platform.h"
#include "system/network.h"

// The game refuses SDL's drivers that show nothing (dummy, offscreen); tests of the backend
// run on them with allow_hidden_display.
// network: the score server's client the backend hands the game (may be null).
std::unique_ptr<Platform> make_sdl_platform(bool allow_hidden_display = false, std::unique_ptr<Network> network = nullptr);
