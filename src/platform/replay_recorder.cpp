#include "platform/replay_recorder.h"

#include <algorithm>
#include <cstring>

#include "frame/input.h"
#include "platform/page_digest.h"
#include "platform/replay_format.h"

ReplayRecorder::ReplayRecorder(Platform& inner) : WrappedPlatform(inner) {
  const std::size_t size = input_state_bytes().size();
  before_.assign(size, 0);
  changes_.reserve(size);
}

std::string ReplayRecorder::start(const std::string& path) {
  std::string error = writer_.open(path, static_cast<std::uint32_t>(input_state_bytes().size()));
  if (!error.empty()) return error;
  // Whatever is already in the input state (a script's first keys) is the first change.
  std::fill(before_.begin(), before_.end(), 0);
  end_call();
  return "";
}

std::uint64_t ReplayRecorder::gap() {
  const std::uint64_t g = call_ - last_record_call_;
  last_record_call_ = call_;
  return g;
}

void ReplayRecorder::begin_call() {
  ++call_;
  in_call_ = true;
  const auto state = input_state_bytes();
  std::memcpy(before_.data(), state.data(), before_.size());
}

void ReplayRecorder::end_call() {
  in_call_ = false;
  if (ended_) return;
  const auto state = input_state_bytes();
  if (std::memcmp(before_.data(), state.data(), before_.size()) == 0) return;
  changes_.clear();
  for (std::size_t i = 0; i < before_.size(); ++i)
    if (before_[i] != state[i]) changes_.push_back({static_cast<std::uint16_t>(i), state[i]});
  writer_.input(gap(), changes_);
}

bool ReplayRecorder::open_display(bool full_screen) {
  begin_call();
  const bool ok = inner_.open_display(full_screen);
  if (!ended_) writer_.opened(gap(), ok);
  end_call();
  return ok;
}

void ReplayRecorder::present(const Image& page) {
  begin_call();
  digest_ = page_digest_chain(digest_, page);
  ++frames_;
  if (frames_ % kReplayCheckpointFrames == 0 && !ended_) writer_.checkpoint(gap(), digest_);
  inner_.present(page);
  end_call();
}

void ReplayRecorder::pump_events() {
  begin_call();
  inner_.pump_events();
  end_call();
}

double ReplayRecorder::now_seconds() {
  begin_call();
  double reading = inner_.now_seconds();
  // The game sees the clock in whole microseconds from the first reading: it needs nothing
  // finer, and each reading then stores as a small step. Readings already on that grid (the
  // headless clock's) pass unchanged, so recording never changes a headless game.
  if (!have_first_clock_) {
    first_clock_ = reading;
    have_first_clock_ = true;
  }
  std::int64_t micro = 0;
  if (replay_micro_count(first_clock_, reading, micro)) reading = replay_clock_from_micro(first_clock_, micro);
  if (!ended_) writer_.clock(gap(), reading);
  end_call();
  return reading;
}

void ReplayRecorder::sleep_ms(int ms) {
  begin_call();
  inner_.sleep_ms(ms);
  end_call();
}

void ReplayRecorder::shutdown(int exit_code) {
  if (!ended_ && writer_.is_open()) {
    // Inside a call: the backend itself ended the session (a close, a stop time) before the
    // call could return.
    writer_.end(gap(), exit_code, in_call_, digest_, frames_);
  }
  ended_ = true;
  inner_.shutdown(exit_code);
}

std::string ReplayRecorder::finish() {
  if (!ended_ && writer_.is_open()) writer_.end(gap(), 0, false, digest_, frames_);
  ended_ = true;
  return writer_.finish();
}
