// Playing a recording back at the platform seam.
#include "replay/replay_player.h"

#include <cstdio>
#include <cstring>

#include "replay/page_digest.h"
#include "replay/playback_bar.h"
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

ReplayPlayer::ReplayPlayer(Platform& inner, const ReplayData& data, bool real_time, const char* who,
                           const PlaybackSetup& setup)
    : WrappedPlatform(inner),
      data_(data),
      real_time_(real_time),
      who_(who),
      pages_(data.format == kReplayEveryPageFormat),
      saved_(input_state_bytes().size()),
      controlled_(setup.controls),
      controls_(setup.carried),
      total_frames_(replay_total_frames(data)),
      skip_until_(setup.start_at),
      score_(setup.score) {
  // The recording starts from the state the recorder found, whatever this process holds.
  const auto state = input_state_bytes();
  std::memset(state.data(), 0, state.size());
  controls_.seek_to = -1;
  controls_.step = false;
  if (controlled_) {
    shown_.pixels.reserve(std::size_t{1} << 20);  // no heap in a round
    music_.reserve(4096);
    last_key_at_ = inner_.now_seconds();
  }
  muted_ = controlled_ && (seeking() || !playback_audible(controls_));
  if (data_.game_version != kReplayGameVersion && setup.start_at == 0)
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
  return "before checkpoint frame " + std::to_string((pages_.frames() / kReplayCheckpointFrames + 1) * kReplayCheckpointFrames);
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
      const std::uint64_t digest = pages_.at_end();
      if (r.digest != digest || r.frames != pages_.frames())
        diverge("at the end (frame " + std::to_string(r.frames) + "): page digest " + hex(digest) + " after " +
                std::to_string(pages_.frames()) + " pages, recorded " + hex(r.digest));
      finished_ = completed_ = true;
      program_exit(r.exit_code);
    } else {
      break;  // belongs to what the game asks next
    }
  }
  if (!finished_ && data_.cut_short && next_ == data_.records.size()) {
    // Everything the file holds has played as recorded.
    std::fprintf(stderr, "%s: recording cut short: played as recorded up to checkpoint frame %lld, where the file ends\n",
                 who_, static_cast<long long>(pages_.frames()));
    finished_ = completed_ = true;
    program_exit(0);
  }
}

template <typename Call>
void ReplayPlayer::guarded(Call call) {
  const auto state = input_state_bytes();
  std::memcpy(saved_.data(), state.data(), saved_.size());
  // The keys the game has yet to read are in the copy; what is typed now is the viewer's.
  if (controlled_)
    while (input_take_typed() != 0) {
    }
  const bool escape_before = input_key_held(kKeyEscape), close_before = close_requested();
  inner_busy_ = true;
  call();
  inner_busy_ = false;
  // The close button too, while the game holds close requests (its final-score screens).
  const bool stop = (input_key_held(kKeyEscape) && !escape_before) || (close_requested() && !close_before);
  if (controlled_) take_control_keys();
  std::memcpy(state.data(), saved_.data(), saved_.size());
  if (stop) {
    finished_ = true;
    program_exit(0);
  }
}

void ReplayPlayer::take_control_keys() {
  const PlaybackControls before = controls_;
  for (std::uint16_t code; (code = input_take_typed()) != 0;) {
    int scancode = code >= 256 ? code & 0xFF : 0;
    if (code == ' ') scancode = kKeySpace;
    if (code == '.') scancode = 52;
    if (code == '-') scancode = 12;
    if (code == '+' || code == '=') scancode = 13;
    if (playback_key(controls_, scancode, pages_.frames(), total_frames_)) last_key_at_ = inner_.now_seconds();
  }
  // A new speed or a pause starts the pace afresh from the next clock reading.
  if (controls_.speed != before.speed || controls_.paused != before.paused) paced_ = false;
  apply_mute();
}

void ReplayPlayer::apply_mute() {
  const bool mute = controlled_ && (seeking() || !playback_audible(controls_));
  if (mute == muted_) return;
  muted_ = mute;
  // Effects are dropped while muted and the tune stopped; the volumes stay as the game set
  // them, so coming back makes no volume change of its own.
  if (mute)
    inner_.stop_music();
  else if (!music_.empty())
    inner_.play_music(music_.c_str());
}

void ReplayPlayer::show(const Image& page) {
  constexpr double kBarSeconds = 3.0;
  const bool bar = controlled_ && (controls_.paused || inner_.now_seconds() - last_key_at_ < kBarSeconds);
  if (!bar || page.width * page.height > static_cast<int>(shown_.pixels.capacity())) {
    guarded([&] { inner_.present(page); });
    return;
  }
  shown_.width = shown_.stride = page.width;
  shown_.height = page.height;
  shown_.pixels.resize(static_cast<std::size_t>(page.width) * page.height);
  for (int y = 0; y < page.height; ++y) std::memcpy(shown_.row(y), page.row(y), page.width * sizeof(Colour));
  draw_playback_bar(shown_, controls_, pages_.frames(), total_frames_, score_ ? score_() : 0);
  guarded([&] { inner_.present(shown_); });
}

void ReplayPlayer::after_page(const Image& page) {
  if (!controlled_) return;
  if (pages_.frames() == skip_until_) {
    // Arrived where the viewer jumped to: the pace starts afresh, the sound comes back.
    paced_ = false;
    apply_mute();
  }
  for (;;) {
    if (controls_.seek_to >= 0) {
      const std::int64_t target = controls_.seek_to;
      controls_.seek_to = -1;
      if (target < pages_.frames()) {
        PlaybackControls carried = controls_;
        carried.seek_to = target;
        finished_ = true;
        throw PlaybackRestart{carried};
      }
      if (target > pages_.frames()) {
        skip_until_ = target;
        apply_mute();
        return;
      }
    }
    if (!controls_.paused || seeking()) return;
    if (controls_.step) {
      controls_.step = false;
      return;  // one more page, then paused again
    }
    // Paused: the window stays alive and the bar up to date.
    guarded([&] {
      inner_.sleep_ms(20);
      inner_.pump_events();
    });
    show(page);
    paced_ = false;
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
  if (pages_.shown(page)) {
    const ReplayRecord& r = expect(ReplayKind::Checkpoint, "a checkpoint");
    // The message is put together only when needed: no heap while a round runs.
    if (r.digest != pages_.value())
      diverge("at checkpoint frame " + std::to_string(pages_.frames()) + ": the page differs (digest " + hex(pages_.value()) + ", recorded " +
              hex(r.digest) + ")");
    if (r.sound != sound_.value())
      diverge("at checkpoint frame " + std::to_string(pages_.frames()) + ": the sound differs (digest " + hex(sound_.value()) +
              ", recorded " + hex(r.sound) + ")");
    consume();
  }
  if (!seeking())
    show(page);
  else if (pages_.frames() % kReplayCheckpointFrames == 0)
    guarded([&] { inner_.pump_events(); });  // unseen, but the window still answers
  after_page(page);
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
  const double speed = kPlaybackSpeeds[controls_.speed];
  if (real_time_ && !seeking() && speed > 0.0) {
    // The recorded pace, times the viewer's speed: wait until as much time has passed here as
    // had there.
    for (;;) {
      if (!paced_) {
        paced_ = true;
        wall_start_ = inner_.now_seconds();
        recorded_start_ = reading;
      }
      const double ahead = (reading - recorded_start_) / speed - (inner_.now_seconds() - wall_start_);
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
  if (seeking()) {
    // Flat out and unseen: neither the window nor the virtual clock need the sleep.
  } else if (real_time_) {
    guarded([&] { inner_.pump_events(); });
  } else {
    guarded([&] { inner_.sleep_ms(ms); });
  }
  end_call();
}

// The sound is heard at the normal speed only; its digest counts every call.
void ReplayPlayer::play_sound(int handle) {
  sound_.play_sound(handle);
  if (!muted_) inner_.play_sound(handle);
}

void ReplayPlayer::play_music(const char* file_name) {
  sound_.play_music(file_name);
  if (controlled_) music_ = file_name;  // played again when the sound comes back
  if (!muted_) inner_.play_music(file_name);
}

void ReplayPlayer::stop_music() {
  sound_.stop_music();
  music_.clear();
  if (!muted_) inner_.stop_music();
}

void ReplayPlayer::set_volumes(int music, int effects) {
  sound_.set_volumes(music, effects);
  inner_.set_volumes(music, effects);
}

Reading ReplayPlayer::take_reading(ReadingKind kind, char* out, std::size_t capacity, ReadingWork work,
                                   void* context) {
  if (finished_) return inner_.take_reading(kind, out, capacity, work, context);
  // A recording older than these readings has none: the game then went on as if none were
  // set, which is what the answer 0 says, and no call of the seam was counted for them.
  if (data_.format < kReplayRoundsFormat && static_cast<int>(kind) >= kReadingKindsBeforeRounds) return Reading{0, 0};
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
    const std::uint64_t digest = pages_.at_end();
    if (r.digest != digest || r.frames != pages_.frames() || r.exit_code != exit_code) {
      std::fputs(divergence("at the end (frame " + std::to_string(r.frames) + "): the page differs (digest " + hex(digest) +
                            " after " + std::to_string(pages_.frames()) + " pages, recorded " + hex(r.digest) + ")")
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
