#pragma once
// Plays a recording back at the platform seam: the game's calls are served from the recording
// in the order it was made, pages still go to the wrapped backend. At every checkpoint the
// chained page and sound digests are compared; a replay that goes its own way stops with exit
// code 3. What the game reads from files is served from the recording: no file is touched.
#include <cstdint>
#include <string>
#include <vector>

#include "gfx/gfx.h"
#include "replay/page_chain.h"
#include "replay/page_digest.h"
#include "replay/playback_controls.h"
#include "replay/replay_format.h"
#include "replay/wrapped_platform.h"

inline constexpr int kReplayDivergedExit = 3;

// "" when this build can play the recording; otherwise why not (another build's input state,
// an exit status the game never gives).
std::string replay_fits_this_build(const ReplayData& data);

// How a playback starts: with the viewer's keys or without, and from where.
struct PlaybackSetup {
  bool controls = false;       // pause, step, speed and seek keys, and the progress bar
  std::int64_t start_at = 0;   // played flat out and unseen up to this frame
  PlaybackControls carried;    // the viewer's choices from before a restart
  int (*score)() = nullptr;    // the score shown on the bar
};

// Thrown by the player when the viewer seeks backwards: the game starts again from the
// recording's first call, and a new player runs it flat out to the frame sought.
struct PlaybackRestart {
  PlaybackControls controls;
};

class ReplayPlayer final : public WrappedPlatform {
 public:
  // real_time: keep the recorded pace on the wrapped backend's clock and let only Escape and
  // its close button through (the window); otherwise run flat out, passing sleeps on to the
  // wrapped backend (the headless runner's virtual clock). `who` prefixes the messages.
  ReplayPlayer(Platform& inner, const ReplayData& data, bool real_time, const char* who,
               const PlaybackSetup& setup = {});

  // The chain through the latest checkpoint and, once the replay has ended, the last page.
  std::uint64_t page_digest() const { return finished_ ? pages_.at_end() : pages_.value(); }
  // True once the whole recording was served and matched.
  bool completed() const { return completed_; }
  std::int64_t frames() const { return pages_.frames(); }
  const PlaybackControls& controls() const { return controls_; }

  bool open_display(bool full_screen) override;
  void present(const Image& page) override;
  void pump_events() override;
  double now_seconds() override;
  void sleep_ms(int ms) override;
  void play_sound(int handle) override;
  void play_music(const char* file_name) override;
  void stop_music() override;
  void set_volumes(int music, int effects) override;
  // The recording does the typing: a viewer is offered no keyboard.
  void typing_wanted(bool) override {}
  Reading take_reading(ReadingKind kind, char* out, std::size_t capacity, ReadingWork work, void* context) override;
  void shutdown(int exit_code) override;
  // A replay never reaches the network: what it answered is in the recording.
  Network* network() override { return nullptr; }

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
  // The viewer's keys typed during a wrapped call.
  void take_control_keys();
  // After a page: a jump that is due, the pause and the single step.
  void after_page(const Image& page);
  void show(const Image& page);
  bool seeking() const { return pages_.frames() < skip_until_; }
  void apply_mute();

  const ReplayData& data_;
  bool real_time_;
  const char* who_;
  std::size_t next_ = 0;                 // index of the next record
  std::uint64_t next_call_ = 0;          // the seam call it belongs to
  std::uint64_t call_ = 0;
  PageChain pages_;
  SoundDigest sound_;
  bool finished_ = false;
  bool completed_ = false;
  bool inner_busy_ = false;
  bool paced_ = false;
  double wall_start_ = 0.0, recorded_start_ = 0.0;
  std::vector<std::uint8_t> saved_;  // the input state around a wrapped call
  // The viewer's controls.
  bool controlled_ = false;
  PlaybackControls controls_;
  std::int64_t total_frames_ = 0;
  std::int64_t skip_until_ = 0;
  int (*score_)() = nullptr;
  double last_key_at_ = 0.0;  // the bar hides a while after the last control key
  bool muted_ = false;
  std::string music_;  // the tune the game plays, to start again when the sound comes back
  Image shown_;  // the page with the bar on it: the game's own page stays as recorded
};
