#pragma once
// Plays a recording back at the platform seam: the game's calls are served from the recording
// in the order it was made, pages still go to the wrapped backend. At every checkpoint the
// chained page and sound digests are compared; a replay that goes its own way stops with exit
// code 3. What the game reads from files is served from the recording: no file is touched.
#include <cstdint>
#include <string>
#include <vector>

#include "replay/page_digest.h"
#include "replay/replay_format.h"
#include "replay/wrapped_platform.h"

inline constexpr int kReplayDivergedExit = 3;

// "" when this build can play the recording; otherwise why not (another build's input state,
// an exit status the game never gives).
std::string replay_fits_this_build(const ReplayData& data);

class ReplayPlayer final : public WrappedPlatform {
 public:
  // real_time: keep the recorded pace on the wrapped backend's clock and let only Escape and
  // its close button through (the window); otherwise run flat out, passing sleeps on to the
  // wrapped backend (the headless runner's virtual clock). `who` prefixes the messages.
  ReplayPlayer(Platform& inner, const ReplayData& data, bool real_time, const char* who);

  std::uint64_t page_digest() const { return digest_; }
  // True once the whole recording was served and matched.
  bool completed() const { return completed_; }

  bool open_display(bool full_screen) override;
  void present(const Image& page) override;
  void pump_events() override;
  double now_seconds() override;
  void sleep_ms(int ms) override;
  void play_sound(int handle) override;
  void play_music(const char* file_name) override;
  void stop_music() override;
  void set_volumes(int music, int effects) override;
  Reading take_reading(ReadingKind kind, char* out, std::size_t capacity, ReadingWork work, void* context) override;
  void shutdown(int exit_code) override;

 private:
  void begin_call();
  void end_call();
  // The next record, which must be of this kind and belong to this call.
  const ReplayRecord& expect(ReplayKind kind, const char* what);
  void consume();
  void apply_input(const ReplayRecord& r);
  // "before checkpoint frame N", N the next one due.
  std::string next_checkpoint() const;
  // The message line for a replay that goes its own way, with the likely cause.
  std::string divergence(const std::string& where_and_what) const;
  [[noreturn]] void diverge(const std::string& where_and_what);
  // Runs a call of the wrapped backend without letting it change what the game reads; an
  // Escape pressed meanwhile stops the playback.
  template <typename Call>
  void guarded(Call call);

  const ReplayData& data_;
  bool real_time_;
  const char* who_;
  std::size_t next_ = 0;                 // index of the next record
  std::uint64_t next_call_ = 0;          // the seam call it belongs to
  std::uint64_t call_ = 0;
  std::uint64_t digest_ = 0;
  SoundDigest sound_;
  std::int64_t frames_ = 0;
  bool finished_ = false;
  bool completed_ = false;
  bool inner_busy_ = false;
  bool paced_ = false;
  double wall_start_ = 0.0, recorded_start_ = 0.0;
  std::vector<std::uint8_t> saved_;  // the input state around a wrapped call
};
