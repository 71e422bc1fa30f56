// Recording a session at the platform seam.
#include "replay/replay_recorder.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "replay/page_digest.h"
#include "replay/replay_format.h"
#include "system/input.h"

ReplayRecorder::ReplayRecorder(Platform& inner, const char* who, bool notice_on_screen)
    : WrappedPlatform(inner), who_(who), notice_on_screen_(notice_on_screen) {
  const std::size_t size = input_state_bytes().size();
  before_.assign(size, 0);
  changes_.reserve(size);
}

std::string ReplayRecorder::start(const std::string& path, bool runner_made) {
  std::string error = writer_.open(path, static_cast<std::uint32_t>(input_state_bytes().size()), runner_made);
  if (!error.empty()) return error;
  if (notice_on_screen_) notice_page_.pixels.reserve(std::size_t{1} << 20);  // no heap in a round
  // Whatever is already in the input state (a script's first keys) is the first change.
  std::fill(before_.begin(), before_.end(), 0);
  end_call();
  return "";
}

void ReplayRecorder::start_in_memory(std::uint8_t* buffer, std::size_t capacity, bool runner_made) {
  writer_.open_memory(buffer, capacity, static_cast<std::uint32_t>(before_.size()), runner_made);
  call_ = last_record_call_ = 0;
  ended_ = failure_told_ = false;
  pages_ = PageChain{};
  sound_ = SoundDigest{};
  have_first_clock_ = false;
  std::fill(before_.begin(), before_.end(), 0);
  end_call();
}

std::span<const std::uint8_t> ReplayRecorder::finish_in_memory() {
  if (!writer_.is_open() || ended_) return {};
  ended_ = true;
  end_digest_ = pages_.at_end();
  writer_.end(gap(), 0, true, end_digest_, pages_.frames());
  if (writer_.failure()[0]) return {};
  return writer_.memory_bytes();
}

void ReplayRecorder::rebase_clock(double origin) {
  rebase_due_ = true;
  origin_ = origin;
}

std::uint64_t ReplayRecorder::gap() {
  const std::uint64_t g = call_ - last_record_call_;
  last_record_call_ = call_;
  return g;
}

void ReplayRecorder::note_failure() {
  if (failure_told_ || !writer_.failure()[0]) return;
  failure_told_ = true;
  std::fprintf(stderr, "%s: the recording is cut short here (%s); the game goes on, and the recording keeps what came before\n",
               who_, writer_.failure());
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
  if (!writer_.is_open()) return inner_.open_display(full_screen);
  begin_call();
  const bool ok = inner_.open_display(full_screen);
  if (!ended_) writer_.opened(gap(), ok);
  end_call();
  return ok;
}

void ReplayRecorder::present(const Image& page) {
  if (!writer_.is_open()) return inner_.present(page);
  begin_call();
  if (pages_.shown(page) && !ended_) {
    writer_.checkpoint(gap(), pages_.value(), sound_.value());
    note_failure();
  }
  if (failure_told_ && notice_on_screen_ && page.width * page.height <= static_cast<int>(notice_page_.pixels.capacity())) {
    // A copy with the notice on it: the game's own page must stay as recorded.
    notice_page_.width = notice_page_.stride = page.width;
    notice_page_.height = page.height;
    notice_page_.pixels.resize(static_cast<std::size_t>(page.width) * page.height);
    for (int y = 0; y < page.height; ++y) std::memcpy(notice_page_.row(y), page.row(y), page.width * sizeof(Colour));
    for (int y = 0; y < 12 && y < page.height; ++y)
      for (int x = 0; x < page.width; ++x) notice_page_.row(y)[x] = 0xFF400000u;
    gfx_draw_text(&notice_page_, 4, 2, "Recording cut short: the disk is full or the file too large", 0xFFFFFFFFu);
    inner_.present(notice_page_);
  } else {
    inner_.present(page);
  }
  end_call();
}

void ReplayRecorder::pump_events() {
  if (!writer_.is_open()) return inner_.pump_events();
  begin_call();
  inner_.pump_events();
  end_call();
}

double ReplayRecorder::now_seconds() {
  if (!writer_.is_open()) return inner_.now_seconds();
  begin_call();
  double reading = inner_.now_seconds();
  if (rebase_due_) {
    rebase_due_ = false;
    rebased_ = true;
    rebase_at_ = reading;
  }
  if (rebased_) reading = origin_ + (reading - rebase_at_);
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
  if (!writer_.is_open()) return inner_.sleep_ms(ms);
  begin_call();
  inner_.sleep_ms(ms);
  end_call();
}

void ReplayRecorder::play_sound(int handle) {
  sound_.play_sound(handle);
  inner_.play_sound(handle);
}

void ReplayRecorder::play_music(const char* file_name) {
  sound_.play_music(file_name);
  inner_.play_music(file_name);
}

void ReplayRecorder::stop_music() {
  sound_.stop_music();
  inner_.stop_music();
}

void ReplayRecorder::set_volumes(int music, int effects) {
  sound_.set_volumes(music, effects);
  inner_.set_volumes(music, effects);
}

Reading ReplayRecorder::take_reading(ReadingKind kind, char* out, std::size_t capacity, ReadingWork work,
                                     void* context) {
  if (!writer_.is_open()) return inner_.take_reading(kind, out, capacity, work, context);
  begin_call();
  const Reading r = inner_.take_reading(kind, out, capacity, work, context);
  if (!ended_) writer_.reading(gap(), kind, r.outcome, out, r.size);
  end_call();
  return r;
}

void ReplayRecorder::shutdown(int exit_code) {
  if (!ended_) {
    end_digest_ = pages_.at_end();
    // Inside a call: the backend itself ended the session (a close, a stop time) before the
    // call could return.
    if (writer_.is_open()) writer_.end(gap(), exit_code, in_call_, end_digest_, pages_.frames());
  }
  ended_ = true;
  inner_.shutdown(exit_code);
}

std::string ReplayRecorder::finish() {
  if (!ended_) {
    end_digest_ = pages_.at_end();
    if (writer_.is_open()) writer_.end(gap(), 0, false, end_digest_, pages_.frames());
  }
  ended_ = true;
  return writer_.finish();
}
