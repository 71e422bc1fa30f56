#pragma once
// A backend wrapped by another at the seam (the replay recorder and player): every call the
// wrapper does not take over goes straight through to the backend inside.
#include "system/i_platform.h"

class WrappedPlatform : public Platform {
 public:
  explicit WrappedPlatform(Platform& inner) : inner_(inner) {}

  bool open_display(bool full_screen) override { return inner_.open_display(full_screen); }
  void present(const Image& page) override { inner_.present(page); }
  void pump_events() override { inner_.pump_events(); }
  double now_seconds() override { return inner_.now_seconds(); }
  void sleep_ms(int ms) override { inner_.sleep_ms(ms); }
  void set_mouse(int x, int y, int visible, int clip) override { inner_.set_mouse(x, y, visible, clip); }
  void play_sound(int handle) override { inner_.play_sound(handle); }
  void play_music(const char* file_name) override { inner_.play_music(file_name); }
  void stop_music() override { inner_.stop_music(); }
  void set_volumes(int music, int effects) override { inner_.set_volumes(music, effects); }
  void set_icon(const Image& icon) override { inner_.set_icon(icon); }
  void typing_wanted(bool wanted) override { inner_.typing_wanted(wanted); }
  Reading take_reading(ReadingKind kind, char* out, std::size_t capacity, ReadingWork work, void* context) override {
    return inner_.take_reading(kind, out, capacity, work, context);
  }
  Network* network() override { return inner_.network(); }
  void shutdown(int exit_code) override { inner_.shutdown(exit_code); }

 protected:
  Platform& inner_;
};
