#pragma once
// Records a session at the platform seam: wraps any backend, passes every call through, and
// writes down each reading the game takes from it (clock readings, changes of the input state
// around every call, the display's opening) plus the chained page digest every 41 pages.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/replay_writer.h"
#include "platform/wrapped_platform.h"

class ReplayRecorder final : public WrappedPlatform {
 public:
  explicit ReplayRecorder(Platform& inner);

  // Creates the recording; an error message, or "".
  std::string start(const std::string& path);
  // Ends the recording (if shutdown has not) and puts the file in place; an error or "".
  std::string finish();
  std::uint64_t page_digest() const { return digest_; }
  std::uint64_t bytes_written() const { return writer_.bytes_written(); }

  bool open_display(bool full_screen) override;
  void present(const Image& page) override;
  void pump_events() override;
  double now_seconds() override;
  void sleep_ms(int ms) override;
  void shutdown(int exit_code) override;

 private:
  void begin_call();
  void end_call();
  std::uint64_t gap();

  ReplayWriter writer_;
  std::vector<std::uint8_t> before_;          // the input state as the call began
  std::vector<ReplayByteChange> changes_;     // room for every byte of it
  std::uint64_t call_ = 0;                    // seam calls so far
  std::uint64_t last_record_call_ = 0;
  bool in_call_ = false;
  bool ended_ = false;
  std::uint64_t digest_ = 0;
  std::int64_t frames_ = 0;
  bool have_first_clock_ = false;
  double first_clock_ = 0.0;
};
