// The headless backend on a virtual clock.
#include "headless/headless_platform.h"

#include <csignal>

#include <string_view>

#include "replay/page_digest.h"
#include "system/input.h"

HeadlessPlatform::HeadlessPlatform(double clock_origin)
    : origin_(clock_origin) {}

void HeadlessPlatform::set_script(std::vector<ScriptEvent> events) {
  events_ = std::move(events);
  next_event_ = 0;
  apply_due_events();
}

bool HeadlessPlatform::open_display(bool full_screen) {
  full_screen_ = full_screen;
  return true;
}

void HeadlessPlatform::present(const Image& page) {
  ++frames_shown_;
  if (present_hook_) present_hook_(page, now_us_);
}

double HeadlessPlatform::now_seconds() { return origin_ + static_cast<double>(now_us_) * 1e-6; }

void HeadlessPlatform::sleep_ms(int ms) {
  if (ms <= 0) return;
  advance_to(now_us_ + static_cast<std::int64_t>(ms) * 1000);
}

void HeadlessPlatform::advance_to(std::int64_t target_us) {
  if (stop_at_us_ >= 0 && target_us >= stop_at_us_) {
    now_us_ = stop_at_us_;
    apply_due_events();
    program_exit(0);
  }
  now_us_ = target_us;
  apply_due_events();
  // Signals reach the game where it waits, as the window's do; the clock is the game's own.
  pass_close_signals();
}

void HeadlessPlatform::apply_due_events() {
  while (next_event_ < events_.size() && events_[next_event_].at_ms * 1000 <= now_us_) {
    const ScriptEvent& e = events_[next_event_++];
    switch (e.kind) {
      case ScriptEvent::Kind::Down: input_key_event(e.scancode, true); break;
      case ScriptEvent::Kind::Up: input_key_event(e.scancode, false); break;
      case ScriptEvent::Kind::Close: input_close_request(); break;
      case ScriptEvent::Kind::Type: input_typed_key(e.typed); break;
      case ScriptEvent::Kind::Signal: std::raise(e.scancode); break;
    }
  }
}

void HeadlessPlatform::play_sound(int handle) { sound_digest_.play_sound(handle); }

void HeadlessPlatform::play_music(const char* file_name) { sound_digest_.play_music(file_name); }

void HeadlessPlatform::stop_music() { sound_digest_.stop_music(); }

void HeadlessPlatform::set_volumes(int music, int effects) {
  sound_digest_.set_volumes(music, effects);
}
