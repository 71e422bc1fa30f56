// Playing a recording back at the platform seam.
#include "replay/replay_player.h"

#include <cstdio>
#include <cstring>

#include "replay/page_digest.h"
#include "system/input.h"

namespace {

const char* kind_name(ReplayKind kind) {
  switch (kind) {
    case ReplayKind::ClockRaw:
    case ReplayKind::ClockMicro:
    case ReplayKind::ClockNano:
    case ReplayKind::ClockSame:
    case ReplayKind::ClockRepeat: return "a clock reading";
    case ReplayKind::Input: return "a key change";
    case ReplayKind::OpenOk:
    case ReplayKind::OpenFailed: return "a display opening";
    case ReplayKind::Checkpoint: return "a checkpoint";
    case ReplayKind::Reading: return "a reading of the machine's files";
    case ReplayKind::End: return "the end";
  }
  return "?";
}

std::string hex(std::uint64_t v) {
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(v));
  return text;
}

}  // namespace

ReplayPlayer::ReplayPlayer(Platform& inner, const ReplayData& data, bool real_time, const char* who)
    : WrappedPlatform(inner), data_(data), real_time_(real_time), who_(who), saved_(input_state_bytes().size()) {
  // The recording starts from the state the recorder found, whatever this process holds.
  const auto state = input_state_bytes();
  std::memset(state.data(), 0, state.size());
  if (data_.game_version != kReplayGameVersion)
    std::fprintf(stderr, "%s: note: recorded by %s, this is %s\n", who_, data_.game_version.c_str(), kReplayGameVersion);
  if (!data_.records.empty()) next_call_ = data_.records[0].gap;
  end_call();
}

std::string replay_fits_this_build(const ReplayData& data) {
  const std::size_t size = input_state_bytes().size();
  if (data.state_size != size)
    return "recorded by a build whose input state is " + std::to_string(data.state_size) + " bytes, this one's is " +
           std::to_string(size);
  // The player ends with the recorded status: only one the game can end with, so that no file
  // passes itself off as a divergence (3) or anything else.
  for (const ReplayRecord& r : data.records)
    if (r.kind == ReplayKind::End && r.exit_code != 0 && r.exit_code != 1)
      return "the end record gives exit status " + std::to_string(r.exit_code) +
             ", which the game never ends with: the file is damaged";
  return "";
}

std::string ReplayPlayer::next_checkpoint() const {
  return "before checkpoint frame " + std::to_string((frames_ / kReplayCheckpointFrames + 1) * kReplayCheckpointFrames);
}

std::string ReplayPlayer::divergence(const std::string& where_and_what) const {
  const std::string cause = data_.game_version != kReplayGameVersion
                                ? "it was recorded by " + data_.game_version + ", this is " + kReplayGameVersion
                                : "another build of the game, or an edited recording";
  return std::string(who_) + ": the replay diverges " + where_and_what + "; likely cause: " + cause + "\n";
}

void ReplayPlayer::diverge(const std::string& where_and_what) {
  std::fputs(divergence(where_and_what).c_str(), stderr);
  finished_ = true;
  program_exit(kReplayDivergedExit);
}

void ReplayPlayer::consume() {
  ++next_;
  if (next_ < data_.records.size()) next_call_ = call_ + data_.records[next_].gap;
}

const ReplayRecord& ReplayPlayer::expect(ReplayKind kind, const char* what) {
  const bool there = next_ < data_.records.size() && next_call_ == call_;
  const ReplayKind got = there ? data_.records[next_].kind : ReplayKind::End;
  const bool clock = kind == ReplayKind::ClockRaw;
  const bool kind_ok = clock ? got <= ReplayKind::ClockRepeat
                             : (kind == ReplayKind::OpenOk ? (got == ReplayKind::OpenOk || got == ReplayKind::OpenFailed)
                                                            : got == kind);
  if (!there || !kind_ok)
    diverge(next_checkpoint() + ": the game asks for " + what + " where the recording has " +
            (there ? kind_name(got) : "nothing"));
  return data_.records[next_];
}

void ReplayPlayer::begin_call() {
  if (finished_) return;
  ++call_;
  // A record that belonged to an earlier call was never asked for: the game took another way.
  if (next_ < data_.records.size() && next_call_ < call_) {
    const ReplayRecord& r = data_.records[next_];
    diverge(next_checkpoint() + ": the recording has " + kind_name(r.kind) +
            (r.kind == ReplayKind::Reading ? std::string(" (") + reading_name(r.reading) + ")" : std::string()) +
            " the game never asked for");
  }
}

void ReplayPlayer::apply_input(const ReplayRecord& r) {
  const auto state = input_state_bytes();
  for (std::uint32_t i = 0; i < r.changes; ++i) {
    const ReplayByteChange& c = data_.changes[r.first_change + i];
    state[c.offset] = c.value;
  }
}

void ReplayPlayer::end_call() {
  while (!finished_ && next_ < data_.records.size() && next_call_ == call_) {
    const ReplayRecord& r = data_.records[next_];
    if (r.kind == ReplayKind::Input) {
      apply_input(r);
      consume();
    } else if (r.kind == ReplayKind::End && r.inside_call) {
      // The recorded session ended inside this very call (a close, a stop time).
      if (r.digest != digest_ || r.frames != frames_)
        diverge("at the end (frame " + std::to_string(r.frames) + "): page digest " + hex(digest_) +
                " after " + std::to_string(frames_) + " pages, recorded " + hex(r.digest));
      finished_ = completed_ = true;
      program_exit(r.exit_code);
    } else {
      break;  // belongs to what the game asks next
    }
  }
  if (!finished_ && data_.cut_short && next_ == data_.records.size()) {
    // Everything the file holds has played as recorded.
    std::fprintf(stderr, "%s: recording cut short: played as recorded up to checkpoint frame %lld, where the file ends\n",
                 who_, static_cast<long long>(frames_));
    finished_ = completed_ = true;
    program_exit(0);
  }
}

template <typename Call>
void ReplayPlayer::guarded(Call call) {
  const auto state = input_state_bytes();
  std::memcpy(saved_.data(), state.data(), saved_.size());
  const bool escape_before = input_key_held(kKeyEscape), close_before = close_requested();
  inner_busy_ = true;
  call();
  inner_busy_ = false;
  // The close button too, while the game holds close requests (its final-score screens).
  const bool stop = (input_key_held(kKeyEscape) && !escape_before) || (close_requested() && !close_before);
  std::memcpy(state.data(), saved_.data(), saved_.size());
  if (stop) {
    finished_ = true;
    program_exit(0);
  }
}

bool ReplayPlayer::open_display(bool full_screen) {
  if (finished_) return inner_.open_display(full_screen);
  begin_call();
  const ReplayRecord& r = expect(ReplayKind::OpenOk, "the display");
  const bool ok = r.kind == ReplayKind::OpenOk;
  consume();
  if (ok) guarded([&] { inner_.open_display(full_screen); });
  end_call();
  return ok;
}

void ReplayPlayer::present(const Image& page) {
  if (finished_) return inner_.present(page);
  begin_call();
  digest_ = page_digest_chain(digest_, page);
  ++frames_;
  if (frames_ % kReplayCheckpointFrames == 0) {
    const ReplayRecord& r = expect(ReplayKind::Checkpoint, "a checkpoint");
    // The message is put together only when needed: no heap while a round runs.
    if (r.digest != digest_)
      diverge("at checkpoint frame " + std::to_string(frames_) + ": the page differs (digest " + hex(digest_) +
              ", recorded " + hex(r.digest) + ")");
    if (r.sound != sound_.value())
      diverge("at checkpoint frame " + std::to_string(frames_) + ": the sound differs (digest " + hex(sound_.value()) +
              ", recorded " + hex(r.sound) + ")");
    consume();
  }
  guarded([&] { inner_.present(page); });
  end_call();
}

void ReplayPlayer::pump_events() {
  if (finished_) return;
  begin_call();
  if (real_time_) guarded([&] { inner_.pump_events(); });
  end_call();
}

double ReplayPlayer::now_seconds() {
  if (finished_) return inner_.now_seconds();
  begin_call();
  const double reading = expect(ReplayKind::ClockRaw, "a clock reading").clock;
  consume();
  if (real_time_) {
    // The recorded pace: wait until as much time has passed here as had there.
    if (!paced_) {
      paced_ = true;
      wall_start_ = inner_.now_seconds();
      recorded_start_ = reading;
    }
    for (;;) {
      const double ahead = (reading - recorded_start_) - (inner_.now_seconds() - wall_start_);
      if (ahead <= 0.0) break;
      const int ms = ahead > 0.02 ? 20 : 1;
      guarded([&] { inner_.sleep_ms(ms); });
    }
  }
  end_call();
  return reading;
}

void ReplayPlayer::sleep_ms(int ms) {
  if (finished_) return;
  begin_call();
  // In the window the pace comes from the clock readings; headless, the wrapped backend's
  // virtual clock moves as it did when recorded.
  if (real_time_)
    guarded([&] { inner_.pump_events(); });
  else
    guarded([&] { inner_.sleep_ms(ms); });
  end_call();
}

void ReplayPlayer::play_sound(int handle) {
  sound_.play_sound(handle);
  inner_.play_sound(handle);
}

void ReplayPlayer::play_music(const char* file_name) {
  sound_.play_music(file_name);
  inner_.play_music(file_name);
}

void ReplayPlayer::stop_music() {
  sound_.stop_music();
  inner_.stop_music();
}

void ReplayPlayer::set_volumes(int music, int effects) {
  sound_.set_volumes(music, effects);
  inner_.set_volumes(music, effects);
}

Reading ReplayPlayer::take_reading(ReadingKind kind, char* out, std::size_t capacity, ReadingWork work,
                                   void* context) {
  if (finished_) return inner_.take_reading(kind, out, capacity, work, context);
  begin_call();
  // Served from the recording: no file of this machine is read or written.
  const std::string what = std::string("a reading of ") + reading_name(kind);
  const ReplayRecord& r = expect(ReplayKind::Reading, what.c_str());
  if (r.reading != kind)
    diverge(next_checkpoint() + ": the game reads " + reading_name(kind) + " where the recording has " +
            reading_name(r.reading));
  if (r.size > capacity)
    diverge(next_checkpoint() + ": the recording gives " + std::to_string(r.size) + " bytes of " + reading_name(kind) +
            " where the game takes at most " + std::to_string(capacity));
  if (r.size > 0) std::memcpy(out, data_.reading_bytes.data() + r.first_byte, r.size);
  const Reading served{r.outcome, r.size};
  consume();
  end_call();
  return served;
}

void ReplayPlayer::shutdown(int exit_code) {
  if (!finished_ && !inner_busy_) {
    // The game itself ends: the recording must end here too, on the same pages.
    finished_ = true;
    const bool at_end = next_ < data_.records.size() && data_.records[next_].kind == ReplayKind::End &&
                        !data_.records[next_].inside_call && next_call_ == call_;
    if (!at_end) {
      std::fputs(divergence(next_checkpoint() + ": the game ends where the recording goes on").c_str(), stderr);
      inner_.shutdown(kReplayDivergedExit);
      throw ProgramExit{kReplayDivergedExit};
    }
    const ReplayRecord& r = data_.records[next_];
    if (r.digest != digest_ || r.frames != frames_ || r.exit_code != exit_code) {
      std::fputs(divergence("at the end (frame " + std::to_string(r.frames) + "): the page differs (digest " + hex(digest_) +
                            " after " + std::to_string(frames_) + " pages, recorded " + hex(r.digest) + ")")
                     .c_str(),
                 stderr);
      inner_.shutdown(kReplayDivergedExit);
      throw ProgramExit{kReplayDivergedExit};
    }
    completed_ = true;
  }
  finished_ = true;
  inner_.shutdown(exit_code);
}
