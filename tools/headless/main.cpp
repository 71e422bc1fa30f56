// Placeholder until the runner lands.
#include "frame/startup.h"
#include "headless/headless_platform.h"

int main(int argc, char** argv) {
  HeadlessPlatform backend;
  platform_install(&backend);
  return main_flow(argc, argv);
}
