// The windowed game.
#include "app/command_line.h"
#include "app/startup.h"
#include "platform/i_sdl.h"

int main(int argc, char** argv) {
  const CommandLine line = read_command_line(argc, argv);
  if (line.exit_code >= 0) return line.exit_code;
  choose_start_screen(line.screen);
  std::unique_ptr<Platform> backend = make_sdl_platform();
  if (!backend) return 1;
  platform_install(backend.get());
  const int code = main_flow(argc, argv);
  platform_install(nullptr);
  return code;
}
