#pragma once
// Replay files: every reading a session took from the machine, in the order it took them.
//
//   header   "TVREPLAY", format version (u16 LE), input-state size (u16 LE), game version
//            (u8 length, then that many printable bytes; a recording made by the headless
//            runner has kReplayRunnerMark after the version)
//   chunks   varint n, n bytes of whole records, XXH32 of those n bytes seeded with the
//            previous chunk's (the first chunk's seed: XXH32 of the header) as u32 LE. A chunk
//            ends after every checkpoint and at the end, so a file cut anywhere (a full disk)
//            still holds every chunk before the cut, and is read up to its last checkpoint.
//   records  one tag byte each: kind in the low 4 bits, in the high 4 bits the number of seam
//            calls since the previous record's call (15: a varint with the number follows);
//            then the kind's payload (below)
// Varints are unsigned LEB128. The last record is the one End record, the file ends with its
// chunk.
//
// The page digest (see page_chain.h) chains, from format 3 on, only the pages at checkpoints
// and, in the End record, the last page shown; format 2 chained every page shown and is still
// played. Both formats lay their bytes out alike.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "system/i_platform.h"

inline constexpr char kReplayMagic[8] = {'T', 'V', 'R', 'E', 'P', 'L', 'A', 'Y'};
inline constexpr std::uint16_t kReplayFormatVersion = 4;
// The first format with a round's own recording and the score server's answers as readings.
inline constexpr std::uint16_t kReplayRoundsFormat = 4;
// The oldest format still played: its page digest chains every page.
inline constexpr std::uint16_t kReplayEveryPageFormat = 2;
#ifndef TORVANE_VERSION
#define TORVANE_VERSION "unknown"
#endif
inline constexpr const char* kReplayGameVersion = "torvane " TORVANE_VERSION;
// Follows the game version in the header of a recording made by the headless runner (a
// scripted or autoplayed session), so a score server can tell it from a game played by hand.
inline constexpr const char* kReplayRunnerMark = " (headless runner)";
inline constexpr std::size_t kReplayMaxFileBytes = std::size_t{64} << 20;
// Room for the biggest record (a high-score table as read) with plenty to spare.
inline constexpr std::size_t kReplayMaxChunkBytes = std::size_t{1} << 16;
inline constexpr std::size_t kReplayMaxReadingBytes = 40000;
// A checkpoint after every 41st page shown.
inline constexpr std::int64_t kReplayCheckpointFrames = 41;
inline constexpr std::uint32_t kReplayGapInTag = 15;  // gaps from here on follow as a varint
// The clock origins the clock codings hold exactly (the headless runner refuses others).
inline constexpr double kReplayMaxClock = 1e12;

enum class ReplayKind : std::uint8_t {
  ClockRaw = 0,     // the reading's 8 bytes (IEEE double, LE)
  ClockMicro = 1,   // varint d: first reading + (k + d) * 1e-6 s, k the previous reading's count
  ClockNano = 2,    // varint d: whole + fraction seconds of (n + d) ns, n the previous reading's
  ClockSame = 3,    // the previous reading again
  ClockRepeat = 4,  // the previous step (micro or nano) again
  Input = 5,        // varint count, then per changed input-state byte: varint skip, new value
  OpenOk = 6,       // the display opened
  OpenFailed = 7,   // it did not
  Checkpoint = 8,   // u64 LE page digest, u64 LE sound digest, after the latest 41st page
  Reading = 9,      // u8 ReadingKind, zigzag varint outcome, varint size, that many bytes
  End = 10,         // varint zigzag exit code, u8 1 if it ended inside the call, u64 LE page
                    // digest, varint pages shown
};
inline constexpr int kReplayKinds = 11;

struct ReplayByteChange {
  std::uint16_t offset;
  std::uint8_t value;
};

struct ReplayRecord {
  ReplayKind kind = ReplayKind::End;
  std::uint64_t gap = 0;       // seam calls since the previous record's call
  double clock = 0.0;          // the three clock kinds, decoded
  std::uint64_t digest = 0;    // Checkpoint, End: the page digest
  std::uint64_t sound = 0;     // Checkpoint: the sound digest
  ReadingKind reading = ReadingKind::Settings;  // Reading; its bytes are a slice of
  std::int32_t outcome = 0;                     // ReplayData::reading_bytes
  std::uint32_t first_byte = 0, size = 0;
  std::uint32_t first_change = 0, changes = 0;  // Input: a slice of ReplayData::changes
  std::int32_t exit_code = 0;  // End
  bool inside_call = false;    // End: the session ended inside the call (a close, a stop time)
  std::int64_t frames = 0;     // End
};

struct ReplayData {
  std::uint16_t format = kReplayFormatVersion;
  std::string game_version;  // without the runner's mark
  bool runner_made = false;  // the header carried kReplayRunnerMark
  std::uint32_t state_size = 0;
  std::vector<ReplayRecord> records;
  std::vector<ReplayByteChange> changes;
  std::vector<char> reading_bytes;
  // The file stops before its end (a full disk, a size limit): the records run to its last
  // whole checkpoint, and a replay ends there.
  bool cut_short = false;
};

struct ReplayParse {
  ReplayData data;
  std::string error;  // one line naming the problem; empty when the file is sound
};

// Decodes a whole file. Without check_sum the chunks' sums are only required to be there (the
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

// The name of a reading for messages ("the high-score table").
const char* reading_name(ReadingKind kind);
