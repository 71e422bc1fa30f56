#pragma once
// Replay files: every reading a session took from the machine, in the order it took them.
//
//   header   "TVREPLAY", format version (u16 LE), input-state size (u16 LE), game version
//            (u8 length, then that many printable bytes)
//   records  one tag byte each: kind in the low 3 bits, in the high 5 bits the number of seam
//            calls since the previous record's call (31: a varint with the number follows);
//            then the kind's payload (below)
//   trailer  XXH64 of everything before it (u64 LE), then the end of the file
// Varints are unsigned LEB128. The last record is the one End record.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

inline constexpr char kReplayMagic[8] = {'T', 'V', 'R', 'E', 'P', 'L', 'A', 'Y'};
inline constexpr std::uint16_t kReplayFormatVersion = 1;
#ifndef TORVANE_VERSION
#define TORVANE_VERSION "unknown"
#endif
inline constexpr const char* kReplayGameVersion = "torvane " TORVANE_VERSION;
inline constexpr std::size_t kReplayMaxFileBytes = std::size_t{64} << 20;
// A checkpoint after every 41st page shown.
inline constexpr std::int64_t kReplayCheckpointFrames = 41;
inline constexpr std::uint32_t kReplayGapInTag = 31;  // gaps from here on follow as a varint

enum class ReplayKind : std::uint8_t {
  ClockRaw = 0,    // the reading's 8 bytes (IEEE double, LE)
  ClockMicro = 1,  // varint d: first reading + (k + d) * 1e-6 s, k the previous reading's count
  ClockNano = 2,   // varint d: whole + fraction seconds of (n + d) ns, n the previous reading's
  Input = 3,       // varint count, then per changed input-state byte: varint skip, new value
  OpenOk = 4,      // the display opened
  OpenFailed = 5,  // it did not
  Checkpoint = 6,  // u64 LE: the page digest after the latest 41st page
  End = 7,         // varint zigzag exit code, u8 1 if it ended inside the call, u64 LE page
                   // digest, varint pages shown
};

struct ReplayByteChange {
  std::uint16_t offset;
  std::uint8_t value;
};

struct ReplayRecord {
  ReplayKind kind = ReplayKind::End;
  std::uint64_t gap = 0;       // seam calls since the previous record's call
  double clock = 0.0;          // the three clock kinds, decoded
  std::uint64_t digest = 0;    // Checkpoint, End
  std::uint32_t first_change = 0, changes = 0;  // Input: a slice of ReplayData::changes
  std::int32_t exit_code = 0;  // End
  bool inside_call = false;    // End: the session ended inside the call (a close, a stop time)
  std::int64_t frames = 0;     // End
};

struct ReplayData {
  std::string game_version;
  std::uint32_t state_size = 0;
  std::vector<ReplayRecord> records;
  std::vector<ReplayByteChange> changes;
};

struct ReplayParse {
  ReplayData data;
  std::string error;  // one line naming the problem; empty when the file is sound
};

// Decodes a whole file. Without check_sum the trailer is only required to be there (the
// fuzz target uses this to reach the records).
ReplayParse parse_replay(std::span<const std::uint8_t> bytes, bool check_sum = true);
// Reads and decodes a file, refusing what is not a regular file or is too large.
ReplayParse load_replay_file(const std::string& path);

// The clock codings, shared by the writer and the reader so both compute the same numbers.
double replay_clock_from_micro(double first, std::int64_t count);
// False when the reading is too far from the first for whole microseconds.
bool replay_micro_count(double first, double reading, std::int64_t& count);
double replay_clock_from_nano(std::int64_t nanoseconds);
// False for readings outside 0 .. 9e9 s.
bool replay_nano_count(double reading, std::int64_t& nanoseconds);
