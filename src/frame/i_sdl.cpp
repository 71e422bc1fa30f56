#include "frame/i_sdl.h"

// Placeholder until the SDL backend lands.
std::unique_ptr<Platform> make_sdl_platform() { return nullptr; }
