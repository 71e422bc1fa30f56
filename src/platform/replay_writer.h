#pragma once
// Writes a replay file record by record through a fixed buffer: after open() nothing it does
// touches the heap, so it can run while a round does. The file is written beside its name
// and renamed over it at finish(), so an interrupted recording never replaces a good one.
#define XXH_STATIC_LINKING_ONLY  // the streaming hash state as a member
#include <xxhash.h>

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "platform/replay_format.h"

class ReplayWriter {
 public:
  ReplayWriter() = default;
  ~ReplayWriter();
  ReplayWriter(const ReplayWriter&) = delete;
  ReplayWriter& operator=(const ReplayWriter&) = delete;

  // Creates the file aside and writes the header. Returns an error message or "".
  std::string open(const std::string& path, std::uint32_t state_size);

  void clock(std::uint64_t gap, double reading);
  void input(std::uint64_t gap, std::span<const ReplayByteChange> changes);
  void opened(std::uint64_t gap, bool ok);
  void checkpoint(std::uint64_t gap, std::uint64_t digest);
  void end(std::uint64_t gap, int exit_code, bool inside_call, std::uint64_t digest, std::int64_t frames);

  // Writes the trailer and puts the file in place. Returns an error message or "". Without an
  // end record the file is left aside, never renamed over the name.
  std::string finish();
  bool is_open() const { return fd_ >= 0; }
  std::uint64_t bytes_written() const { return total_; }

 private:
  void tag(ReplayKind kind, std::uint64_t gap);
  void put(std::uint8_t b);
  void varint(std::uint64_t v);
  void fixed64(std::uint64_t v);
  void flush();

  int fd_ = -1;
  std::string path_, part_path_;
  bool failed_ = false;
  std::string error_;
  bool ended_ = false;
  std::array<std::uint8_t, 1 << 16> buffer_{};
  std::size_t used_ = 0;
  std::uint64_t total_ = 0;
  XXH64_state_t sum_{};
  bool have_clock_ = false;
  double first_clock_ = 0.0, last_clock_ = 0.0;
};
