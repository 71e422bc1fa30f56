#include "headless/headless_platform.h"

#include <algorithm>
#include <ctime>
#include <string_view>

#include "frame/input.h"
#include "platform/page_digest.h"

namespace {
constexpr std::size_t kHistogramBuckets = 200000;  // up to 200 ms per frame, 1 us each
}

double thread_cpu_seconds() {
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

HeadlessPlatform::HeadlessPlatform(double clock_origin)
    : origin_(clock_origin), cpu_histogram_(kHistogramBuckets, 0) {}

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
  const double cpu = thread_cpu_seconds();
  if (last_cpu_seconds_ >= 0.0) {
    const double us = (cpu - last_cpu_seconds_) * 1e6;
    cpu_max_us_ = std::max(cpu_max_us_, us);
    const std::size_t bucket = std::min(static_cast<std::size_t>(us), kHistogramBuckets - 1);
    ++cpu_histogram_[bucket];
  }
  ++frames_shown_;
  if (present_hook_) present_hook_(page, now_us_);
  // Time spent in the hook (PNG dumps) is not the game's.
  last_cpu_seconds_ = thread_cpu_seconds();
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
}

void HeadlessPlatform::apply_due_events() {
  while (next_event_ < events_.size() && events_[next_event_].at_ms * 1000 <= now_us_) {
    const ScriptEvent& e = events_[next_event_++];
    switch (e.kind) {
      case ScriptEvent::Kind::Down: input_key_event(e.scancode, true); break;
      case ScriptEvent::Kind::Up: input_key_event(e.scancode, false); break;
      case ScriptEvent::Kind::Close: input_close_request(); break;
      case ScriptEvent::Kind::Type: input_typed_key(e.typed); break;
    }
  }
}

double HeadlessPlatform::cpu_percentile_us(double fraction) const {
  std::uint64_t total = 0;
  for (std::uint32_t n : cpu_histogram_) total += n;
  if (total == 0) return 0.0;
  const std::uint64_t rank = static_cast<std::uint64_t>(fraction * static_cast<double>(total - 1));
  std::uint64_t seen = 0;
  for (std::size_t i = 0; i < cpu_histogram_.size(); ++i) {
    seen += cpu_histogram_[i];
    if (seen > rank) return static_cast<double>(i);
  }
  return static_cast<double>(cpu_histogram_.size() - 1);
}

void HeadlessPlatform::play_sound(int handle) { sound_digest_ = sound_digest_chain(sound_digest_, 1, handle); }

void HeadlessPlatform::play_music(const char* file_name) {
  // The name only: where the file was found depends on the machine.
  std::string_view name = file_name ? file_name : "";
  if (const auto slash = name.rfind('/'); slash != std::string_view::npos) name.remove_prefix(slash + 1);
  std::uint64_t value = 0;  // wraps, as a hash may
  for (const char c : name) value = value * 131 + static_cast<unsigned char>(c);
  sound_digest_ = sound_digest_chain(sound_digest_, 2, static_cast<std::int64_t>(value));
}

void HeadlessPlatform::stop_music() { sound_digest_ = sound_digest_chain(sound_digest_, 3, 0); }

void HeadlessPlatform::set_volumes(int music, int effects) {
  sound_digest_ = sound_digest_chain(sound_digest_, 4, music * 1000 + effects);
}
