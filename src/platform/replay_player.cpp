#include "platform/replay_player.h"

#include <cstdio>
#include <cstring>

#include "frame/input.h"
#include "platform/page_digest.h"

namespace {

const char* kind_name(ReplayKind kind) {
  switch (kind) {
    case ReplayKind::ClockRaw:
    case ReplayKind::ClockMicro:
    case ReplayKind::ClockNano: return "a clock reading";
    case ReplayKind::Input: return "a key change";
    case ReplayKind::OpenOk:
    case ReplayKind::OpenFailed: return "a display opening";
    case ReplayKind::Checkpoint: return "a checkpoint";
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
  if (data.state_size == size) return "";
  return "recorded by a build whose input state is " + std::to_string(data.state_size) + " bytes, this one's is " +
         std::to_string(size);
}

void ReplayPlayer::diverge(const std::string& why) {
  const std::int64_t checkpoint = (frames_ / kReplayCheckpointFrames + 1) * kReplayCheckpointFrames;
  std::fprintf(stderr, "%s: the replay diverges %s\n", who_,
               why.empty() ? ("before checkpoint frame " + std::to_string(checkpoint)).c_str() : why.c_str());
  finished_ = true;
  program_exit(kReplayDivergedExit);
}

void ReplayPlayer::consume() {
  ++next_;
  if (next_ < data_.records.size()) next_call_ = call_ + data_.records[next_].gap;
}

const ReplayRecord& ReplayPlayer::expect(ReplayKind kind, const char* what) {
  const ReplayRecord& r = data_.records[next_];
  const bool clock = kind == ReplayKind::ClockRaw;
  const bool kind_ok = clock ? (r.kind == ReplayKind::ClockRaw || r.kind == ReplayKind::ClockMicro ||
                                r.kind == ReplayKind::ClockNano)
                             : (kind == ReplayKind::OpenOk ? (r.kind == ReplayKind::OpenOk ||
                                                               r.kind == ReplayKind::OpenFailed)
                                                            : r.kind == kind);
  if (!kind_ok || next_call_ != call_) {
    const std::int64_t checkpoint = (frames_ / kReplayCheckpointFrames + 1) * kReplayCheckpointFrames;
    diverge("before checkpoint frame " + std::to_string(checkpoint) + ": the game asks for " + what +
            " where the recording has " + (next_call_ == call_ ? kind_name(r.kind) : "nothing"));
  }
  return r;
}

void ReplayPlayer::begin_call() {
  if (finished_) return;
  ++call_;
  // A record that belonged to an earlier call was never asked for: the game took another way.
  if (next_call_ < call_) {
    const ReplayRecord& r = data_.records[next_];
    const std::int64_t checkpoint = (frames_ / kReplayCheckpointFrames + 1) * kReplayCheckpointFrames;
    diverge("before checkpoint frame " + std::to_string(checkpoint) + ": the recording has " +
            kind_name(r.kind) + " the game never asked for");
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
    if (r.digest != digest_)
      diverge("at checkpoint frame " + std::to_string(frames_) + ": page digest " + hex(digest_) + ", recorded " +
              hex(r.digest));
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

void ReplayPlayer::shutdown(int exit_code) {
  if (!finished_ && !inner_busy_) {
    // The game itself ends: the recording must end here too, on the same pages.
    finished_ = true;
    const bool at_end = next_ < data_.records.size() && data_.records[next_].kind == ReplayKind::End &&
                        !data_.records[next_].inside_call && next_call_ == call_;
    if (!at_end) {
      std::fprintf(stderr, "%s: the replay diverges before checkpoint frame %lld: the game ends where the recording goes on\n",
                   who_, static_cast<long long>((frames_ / kReplayCheckpointFrames + 1) * kReplayCheckpointFrames));
      inner_.shutdown(kReplayDivergedExit);
      throw ProgramExit{kReplayDivergedExit};
    }
    const ReplayRecord& r = data_.records[next_];
    if (r.digest != digest_ || r.frames != frames_ || r.exit_code != exit_code) {
      std::fprintf(stderr, "%s: the replay diverges at the end (frame %lld): page digest %s after %lld pages, recorded %s\n",
                   who_, static_cast<long long>(r.frames), hex(digest_).c_str(), static_cast<long long>(frames_),
                   hex(r.digest).c_str());
      inner_.shutdown(kReplayDivergedExit);
      throw ProgramExit{kReplayDivergedExit};
    }
    completed_ = true;
  }
  finished_ = true;
  inner_.shutdown(exit_code);
}
