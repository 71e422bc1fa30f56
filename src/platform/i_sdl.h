#pragma once
// The SDL2 backend. Only src/main.cpp and the i_sdl files know about it.
#include <memory>

#include "frame/i_platform.h"

std::unique_ptr<Platform> make_sdl_platform();
