#pragma once
// Writes a replay file record by record through a fixed buffer: after open() nothing it does
// touches the heap, so it can run while a round does. Each chunk goes to the disk as soon as
// it is whole (after every checkpoint), so a full disk or a size limit is met when it happens:
// from then on the writer only counts, and the file keeps every whole chunk before the failure.
// The file is written beside its name and renamed over it at finish(), and only ever over a
// regular file, so an interrupted recording never replaces a good one or anything else.
#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "replay/replay_format.h"

class ReplayWriter {
 public:
  ReplayWriter() = default;
  ~ReplayWriter();
  ReplayWriter(const ReplayWriter&) = delete;
  ReplayWriter& operator=(const ReplayWriter&) = delete;

  // Creates the file aside and writes the header (runner_made: with the runner's mark).
  // Returns an error message or "".
  std::string open(const std::string& path, std::uint32_t state_size, bool runner_made = false);
  // Writes into memory the caller holds instead of a file, from its start again; past capacity
  // the recording is cut short like a full disk. No heap is touched.
  void open_memory(std::uint8_t* buffer, std::size_t capacity, std::uint32_t state_size, bool runner_made = false);
  // The bytes written into memory so far (whole once the end is written).
  std::span<const std::uint8_t> memory_bytes() const { return {memory_, memory_used_}; }
  bool ended() const { return ended_; }

  void clock(std::uint64_t gap, double reading);
  void input(std::uint64_t gap, std::span<const ReplayByteChange> changes);
  void opened(std::uint64_t gap, bool ok);
  // Ends the chunk too: what came before it is on the disk after this.
  void checkpoint(std::uint64_t gap, std::uint64_t page_digest, std::uint64_t sound_digest);
  void reading(std::uint64_t gap, ReadingKind kind, int outcome, const char* bytes, std::size_t size);
  void end(std::uint64_t gap, int exit_code, bool inside_call, std::uint64_t digest, std::int64_t frames);

  // Puts the file in place, whole or (after a write failed: see failure()) cut short. Returns
  // an error message or "". Without an end record the file is left aside, never renamed over
  // the name.
  std::string finish();
  bool is_open() const { return fd_ >= 0 || memory_ != nullptr; }
  // The first write that failed, or "": the file stops at the chunk before it.
  const char* failure() const { return failure_; }
  std::uint64_t bytes_written() const { return total_; }

 private:
  void tag(ReplayKind kind, std::uint64_t gap, std::size_t payload_room);
  void put(std::uint8_t b) { chunk_[used_++] = b; }
  void varint(std::uint64_t v);
  void fixed64(std::uint64_t v);
  void end_chunk();
  void header(std::uint32_t state_size, bool runner_made);
  bool write_out(const std::uint8_t* bytes, std::size_t size);

  int fd_ = -1;
  std::uint8_t* memory_ = nullptr;
  std::size_t memory_capacity_ = 0, memory_used_ = 0;
  std::string path_, part_path_;
  char failure_[512] = "";  // no heap: a write may fail while a round runs
  bool ended_ = false;
  std::array<std::uint8_t, kReplayMaxChunkBytes> chunk_{};
  std::size_t used_ = 0;
  std::uint64_t total_ = 0;
  std::uint32_t seed_ = 0;  // the previous chunk's sum
  bool have_clock_ = false;
  double first_clock_ = 0.0, last_clock_ = 0.0;
  ReplayKind last_step_kind_ = ReplayKind::ClockRaw;  // ClockMicro or ClockNano once there is one
  std::uint64_t last_step_ = 0;
};

// Checks that a recording may go to path before anything runs: a regular file or a new name
// in a folder that exists. Returns an error message or "".
std::string replay_target_problem(const std::string& path);
