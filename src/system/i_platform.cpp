// The installed backend and the stand-in before one is.
#include "system/i_platform.h"

#include <chrono>
#include <thread>

namespace {

// Used when no backend is installed (unit tests): no window, a real monotonic clock.
class NullPlatform final : public Platform {
 public:
  bool open_display(bool) override { return true; }
  void present(const Image&) override {}
  void pump_events() override {}
  double now_seconds() override {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
  }
  void sleep_ms(int ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
  void set_mouse(int, int, int, int) override {}
};

NullPlatform null_platform;
Platform* installed = &null_platform;

}  // namespace

Platform& platform() { return *installed; }

void platform_install(Platform* backend) { installed = backend ? backend : &null_platform; }

void program_exit(int code) {
  platform().shutdown(code);
  throw ProgramExit{code};
}
