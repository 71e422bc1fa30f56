#pragma once
// Records a session at the platform seam: wraps any backend, passes every call through, and
// writes down each reading the game takes from it (clock readings, changes of the input state
// around every call, the display's opening, what it read from files) plus the chained page and
// sound digests every 41 pages (the page chain holds only those pages, see page_chain.h). A recording that can no longer be written (a full disk, a size
// limit) stops there and says so; the game goes on.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "gfx/gfx.h"
#include "replay/page_chain.h"
#include "replay/page_digest.h"
#include "replay/replay_writer.h"
#include "replay/wrapped_platform.h"

class ReplayRecorder final : public WrappedPlatform {
 public:
  // who prefixes the messages; notice_on_screen: a failed recording also says so on every
  // page shown from then on (the window, where stderr is rarely seen).
  explicit ReplayRecorder(Platform& inner, const char* who = "torvane", bool notice_on_screen = false);

  // Creates the recording; an error message, or "". runner_made puts the headless runner's
  // mark in the header.
  std::string start(const std::string& path, bool runner_made = false);
  // Records from here on into memory the caller holds (as if the program started now), over
  // whatever was recorded before. No heap is touched: a round may begin with it.
  void start_in_memory(std::uint8_t* buffer, std::size_t capacity, bool runner_made = false);
  // Ends the recording in memory at the call just made, as a session ending inside it; the
  // whole recording, or empty when it was cut short or there is none.
  std::span<const std::uint8_t> finish_in_memory();
  // From the next reading on the clock reads origin, then moves on from there: a ranked round
  // starts from its ticket's origin.
  void rebase_clock(double origin);
  // Ends the recording (if shutdown has not) and puts the file in place; an error or "". A
  // recording cut short is put in place too; cut_short() then says why.
  std::string finish();
  const char* cut_short() const { return writer_.failure(); }
  // The chain through the latest checkpoint and, once the recording has ended, the last page.
  std::uint64_t page_digest() const { return ended_ ? end_digest_ : pages_.value(); }
  std::uint64_t bytes_written() const { return writer_.bytes_written(); }

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
  std::uint64_t gap();
  void note_failure();

  ReplayWriter writer_;
  const char* who_;
  bool notice_on_screen_;
  bool failure_told_ = false;
  Image notice_page_;                         // the page with the notice, made room for at start
  std::vector<std::uint8_t> before_;          // the input state as the call began
  std::vector<ReplayByteChange> changes_;     // room for every byte of it
  std::uint64_t call_ = 0;                    // seam calls so far
  std::uint64_t last_record_call_ = 0;
  bool in_call_ = false;
  bool ended_ = false;
  PageChain pages_;
  std::uint64_t end_digest_ = 0;  // as written in the end record
  SoundDigest sound_;
  bool have_first_clock_ = false;
  double first_clock_ = 0.0;
  bool rebase_due_ = false, rebased_ = false;
  double origin_ = 0.0, rebase_at_ = 0.0;  // the backend's reading that became origin_
};
