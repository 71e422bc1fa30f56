// The windowed game.
#include "app/startup.h"
#include "platform/i_sdl.h"

int main(int argc, char** argv) {
  std::unique_ptr<Platform> backend = make_sdl_platform();
  if (!backend) return 1;
  platform_install(backend.get());
  const int code = main_flow(argc, argv);
  platform_install(nullptr);
  return code;
}
