// Reading a replay file: everything is checked before a single call is served, so a bad file
// ends with a message before the game starts rather than as half a game.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <xxhash.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <memory>
#include <string_view>

#include "replay/replay_format.h"
#include "system/input.h"

namespace {

// The widest the clock may range over one recording: far beyond any session, small enough
// that the game's own time arithmetic stays in range.
constexpr double kMaxClockSpan = 1e6;  // seconds

class Cursor {
 public:
  explicit Cursor(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  bool at_end() const { return pos_ == bytes_.size(); }
  std::size_t left() const { return bytes_.size() - pos_; }
  std::size_t pos() const { return pos_; }

  bool byte(std::uint8_t& out) {
    if (at_end()) return false;
    out = bytes_[pos_++];
    return true;
  }
  bool fixed64(std::uint64_t& out) {
    if (left() < 8) return false;
    out = 0;
    for (int i = 0; i < 8; ++i) out |= static_cast<std::uint64_t>(bytes_[pos_ + i]) << (8 * i);
    pos_ += 8;
    return true;
  }
  bool fixed16(std::uint16_t& out) {
    if (left() < 2) return false;
    out = static_cast<std::uint16_t>(bytes_[pos_] | (bytes_[pos_ + 1] << 8));
    pos_ += 2;
    return true;
  }
  // False on a cut-off or an over-long (more than 64 bits) varint.
  bool varint(std::uint64_t& out) {
    out = 0;
    for (int shift = 0; shift < 64; shift += 7) {
      std::uint8_t b = 0;
      if (!byte(b)) return false;
      if (shift == 63 && (b & 0x7E)) return false;
      out |= static_cast<std::uint64_t>(b & 0x7F) << shift;
      if (!(b & 0x80)) return true;
    }
    return false;
  }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t pos_ = 0;
};

std::string at_record(std::size_t n, const std::string& what) {
  return "record " + std::to_string(n + 1) + ": " + what;
}

ReplayParse failed(std::string error) {
  ReplayParse parse;
  parse.error = std::move(error);
  return parse;
}

}  // namespace

const char* reading_name(ReadingKind kind) {
  switch (kind) {
    case ReadingKind::Settings: return "the settings";
    case ReadingKind::SettingsSaved: return "the settings' saving";
    case ReadingKind::ScreenChoice: return "the screen choice";
    case ReadingKind::HighScores: return "the high-score table";
    case ReadingKind::HighScoresSaved: return "the high-score table's saving";
    case ReadingKind::MusicFile: return "the music's place";
    case ReadingKind::RoundStart: return "the session's opening";
    case ReadingKind::NewRound: return "a new round's ticket";
    case ReadingKind::Network: return "the score server's answer";
  }
  return "a reading";
}

namespace {

// What one chunk's records add to the data; the clock's state carries from chunk to chunk.
struct RecordReader {
  ReplayData& data;
  std::uint16_t state_size;
  // The input state as the recorded changes leave it, checked after each: the player writes
  // these bytes into the game's own state. Another build's layout is refused by the player.
  std::vector<std::uint8_t> input_state = std::vector<std::uint8_t>(state_size, 0);
  const bool check_input = state_size == input_state_bytes().size();
  std::int64_t checkpoints = 0;
  bool have_clock = false, ended = false;
  double first_clock = 0.0, last_clock = 0.0;
  ReplayKind last_step_kind = ReplayKind::ClockRaw;
  std::uint64_t last_step = 0;

  std::string clock(ReplayRecord& r, Cursor& in) {
    if (r.kind == ReplayKind::ClockRaw) {
      std::uint64_t bits = 0;
      if (!in.fixed64(bits)) return "truncated clock reading";
      std::memcpy(&r.clock, &bits, sizeof r.clock);
      last_step_kind = ReplayKind::ClockRaw;
    } else if (r.kind == ReplayKind::ClockSame) {
      if (!have_clock) return "a repeated clock reading before any clock reading";
      r.clock = last_clock;
    } else {
      std::uint64_t delta = last_step;
      ReplayKind coding = r.kind == ReplayKind::ClockRepeat ? last_step_kind : r.kind;
      if (r.kind != ReplayKind::ClockRepeat && (!in.varint(delta) || delta > (std::uint64_t{1} << 52)))
        return "truncated or impossible clock step";
      if (!have_clock || coding == ReplayKind::ClockRaw) return "a clock step with no step before it";
      std::int64_t count = 0;
      const bool micro = coding == ReplayKind::ClockMicro;
      if (!(micro ? replay_micro_count(first_clock, last_clock, count) : replay_nano_count(last_clock, count)))
        return "a clock step from a reading it cannot follow";
      count += static_cast<std::int64_t>(delta);
      r.clock = micro ? replay_clock_from_micro(first_clock, count) : replay_clock_from_nano(count);
      last_step_kind = coding;
      last_step = delta;
    }
    if (!std::isfinite(r.clock) || std::fabs(r.clock) > kReplayMaxClock) return "a clock reading that is not a sane number";
    if (have_clock && r.clock < last_clock) return "the clock goes backwards";
    if (!have_clock) first_clock = r.clock;
    if (r.clock - first_clock > kMaxClockSpan) return "the clock jumps too far ahead";
    have_clock = true;
    last_clock = r.clock;
    return "";
  }

  std::string input(ReplayRecord& r, Cursor& in) {
    std::uint64_t count = 0;
    if (!in.varint(count) || count == 0 || count > state_size) return "truncated or impossible number of input changes";
    r.first_change = static_cast<std::uint32_t>(data.changes.size());
    r.changes = static_cast<std::uint32_t>(count);
    std::uint64_t offset = 0;
    for (std::uint64_t k = 0; k < count; ++k) {
      std::uint64_t skip = 0;
      std::uint8_t value = 0;
      if (!in.varint(skip) || !in.byte(value)) return "truncated input change";
      offset += skip;
      if (skip >= state_size || offset >= state_size) return "an input change outside the input state";
      data.changes.push_back({static_cast<std::uint16_t>(offset), value});
      input_state[offset] = value;
      ++offset;
    }
    if (!check_input) return "";
    if (std::string problem = input_state_problem(input_state); !problem.empty())
      return "before checkpoint frame " + std::to_string((checkpoints + 1) * kReplayCheckpointFrames) +
             ": the input it gives has " + problem + ": the file is damaged";
    return "";
  }

  std::string reading(ReplayRecord& r, Cursor& in) {
    std::uint8_t kind = 0;
    std::uint64_t outcome = 0, size = 0;
    if (!in.byte(kind) || !in.varint(outcome) || !in.varint(size)) return "truncated reading";
    const int kinds = data.format < kReplayRoundsFormat ? kReadingKindsBeforeRounds : kReadingKinds;
    if (kind >= kinds || outcome > 0xFFFFFFFFu || size > kReplayMaxReadingBytes || size > in.left())
      return "an impossible reading";
    r.reading = static_cast<ReadingKind>(kind);
    const auto zigzag = static_cast<std::uint32_t>(outcome);
    r.outcome = static_cast<std::int32_t>((zigzag >> 1) ^ (0u - (zigzag & 1u)));
    r.first_byte = static_cast<std::uint32_t>(data.reading_bytes.size());
    r.size = static_cast<std::uint32_t>(size);
    for (std::uint64_t k = 0; k < size; ++k) {
      std::uint8_t b = 0;
      in.byte(b);
      data.reading_bytes.push_back(static_cast<char>(b));
    }
    return "";
  }

  std::string end(ReplayRecord& r, Cursor& in) {
    std::uint64_t code = 0, frames = 0;
    std::uint8_t inside = 0;
    if (!in.varint(code) || !in.byte(inside) || !in.fixed64(r.digest) || !in.varint(frames))
      return "truncated end record";
    if (code > 0xFFFFFFFFu || inside > 1 || frames > (std::uint64_t{1} << 40)) return "an impossible end record";
    const auto zigzag = static_cast<std::uint32_t>(code);
    r.exit_code = static_cast<std::int32_t>((zigzag >> 1) ^ (0u - (zigzag & 1u)));
    r.inside_call = inside == 1;
    r.frames = static_cast<std::int64_t>(frames);
    ended = true;
    return "";
  }

  // Every record of one chunk; "" or what is wrong.
  std::string chunk(Cursor in) {
    while (!in.at_end()) {
      const std::size_t n = data.records.size();
      if (ended) return at_record(n, "data after the end record");
      std::uint8_t tag = 0;
      in.byte(tag);
      ReplayRecord r;
      if ((tag & 15) >= kReplayKinds) return at_record(n, "an unknown kind of record");
      r.kind = static_cast<ReplayKind>(tag & 15);
      r.gap = tag >> 4;
      if (r.gap == kReplayGapInTag && (!in.varint(r.gap) || r.gap > (std::uint64_t{1} << 40)))
        return at_record(n, "truncated or impossible call count");
      std::string error;
      switch (r.kind) {
        case ReplayKind::ClockRaw:
        case ReplayKind::ClockMicro:
        case ReplayKind::ClockNano:
        case ReplayKind::ClockSame:
        case ReplayKind::ClockRepeat: error = clock(r, in); break;
        case ReplayKind::Input: error = input(r, in); break;
        case ReplayKind::OpenOk:
        case ReplayKind::OpenFailed: break;
        case ReplayKind::Checkpoint:
          if (!in.fixed64(r.digest) || !in.fixed64(r.sound)) error = "truncated checkpoint";
          ++checkpoints;
          break;
        case ReplayKind::Reading: error = reading(r, in); break;
        case ReplayKind::End: error = end(r, in); break;
      }
      if (!error.empty()) return at_record(n, error);
      data.records.push_back(r);
    }
    return "";
  }
};

std::uint32_t u32_at(std::span<const std::uint8_t> bytes, std::size_t at) {
  return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
         static_cast<std::uint32_t>(bytes[at + 2]) << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

// Whether some whole chunk, its sum matching, starts right after the length varint at
// length_at (whatever length that gives, the real one took 1 to 3 bytes) and ends inside the
// file. A file cut inside its last chunk holds none but by a 2^-32 chance per length.
bool whole_chunk_follows(std::span<const std::uint8_t> bytes, std::size_t length_at, std::uint32_t seed) {
  const std::unique_ptr<XXH32_state_t, XXH_errorcode (*)(XXH32_state_t*)> state(XXH32_createState(), XXH32_freeState);
  if (!state) return false;
  for (std::size_t start = length_at + 1; start <= length_at + 3 && start + 5 <= bytes.size(); ++start) {
    XXH32_reset(state.get(), seed);
    const std::size_t longest = std::min(kReplayMaxChunkBytes, bytes.size() - start - 4);
    for (std::size_t n = 1; n <= longest; ++n) {
      XXH32_update(state.get(), &bytes[start + n - 1], 1);
      if (XXH32_digest(state.get()) == u32_at(bytes, start + n)) return true;
    }
  }
  return false;
}

// A file cut short keeps its records up to its last checkpoint, where a replay of it ends.
ReplayParse cut_short(ReplayParse parse) {
  ReplayData& d = parse.data;
  std::size_t keep = d.records.size();
  while (keep > 0 && d.records[keep - 1].kind != ReplayKind::Checkpoint) --keep;
  if (keep == 0) return failed("cut short before its first checkpoint: there is nothing to play");
  d.records.resize(keep);
  d.cut_short = true;
  return parse;
}

}  // namespace

ReplayParse parse_replay(std::span<const std::uint8_t> bytes, bool check_sum) {
  if (bytes.empty()) return failed("the file is empty");
  if (bytes.size() > kReplayMaxFileBytes) return failed("the file is larger than a replay can be");
  if (bytes.size() < sizeof kReplayMagic || std::memcmp(bytes.data(), kReplayMagic, sizeof kReplayMagic) != 0)
    return failed("not a replay file (no TVREPLAY header)");
  ReplayParse parse;
  ReplayData& data = parse.data;
  Cursor in(bytes);
  for (std::size_t i = 0; i < sizeof kReplayMagic; ++i) {
    std::uint8_t ignored;
    in.byte(ignored);
  }
  std::uint16_t version = 0, state_size = 0;
  std::uint8_t name_length = 0;
  if (!in.fixed16(version)) return failed("cut short inside the header");
  if (version < kReplayEveryPageFormat)
    return failed("recorded in replay format " + std::to_string(version) + " by an older version of the game; this one plays formats " +
                  std::to_string(kReplayEveryPageFormat) + " to " + std::to_string(kReplayFormatVersion) + " only");
  if (version > kReplayFormatVersion)
    return failed("replay format version " + std::to_string(version) + ", this game reads versions " +
                  std::to_string(kReplayEveryPageFormat) + " to " + std::to_string(kReplayFormatVersion));
  data.format = version;
  if (!in.fixed16(state_size) || !in.byte(name_length) || in.left() < name_length)
    return failed("cut short inside the header");
  if (state_size == 0) return failed("the header gives no input state");
  data.state_size = state_size;
  for (int i = 0; i < name_length; ++i) {
    std::uint8_t c = 0;
    in.byte(c);
    if (c < 32 || c > 126) return failed("the header's game version is not printable text");
    data.game_version.push_back(static_cast<char>(c));
  }
  const std::string_view mark = kReplayRunnerMark;
  if (data.game_version.size() >= mark.size() && data.game_version.ends_with(mark)) {
    data.game_version.resize(data.game_version.size() - mark.size());
    data.runner_made = true;
  }
  std::uint32_t seed = XXH32(bytes.data(), in.pos(), 0);

  RecordReader records{data, state_size};
  while (!records.ended) {
    // A file that stops at a chunk boundary or inside its last chunk was cut short (a full
    // disk); one that goes on past a whole chunk is damaged, whatever length it gives.
    std::uint64_t length = 0;
    const std::size_t length_at = in.pos();
    if (in.at_end()) return cut_short(std::move(parse));
    if (!in.varint(length)) {
      if (in.at_end()) return cut_short(std::move(parse));
      return failed("an unreadable chunk length at byte " + std::to_string(length_at) + ": the file is damaged");
    }
    if (length == 0 || length > kReplayMaxChunkBytes)
      return failed("an impossible chunk length at byte " + std::to_string(in.pos()) + ": the file is damaged");
    if (in.left() < length + 4) {
      if (check_sum && whole_chunk_follows(bytes, length_at, seed))
        return failed("a chunk length at byte " + std::to_string(length_at) +
                      " runs past the end of the file, yet a whole chunk starts there: the file is damaged");
      return cut_short(std::move(parse));
    }
    const std::span<const std::uint8_t> chunk = bytes.subspan(in.pos(), length);
    Cursor sum_at(bytes.subspan(in.pos() + length, 4));
    std::uint32_t stored = 0;
    for (int i = 0; i < 4; ++i) {
      std::uint8_t b = 0;
      sum_at.byte(b);
      stored |= static_cast<std::uint32_t>(b) << (8 * i);
    }
    const std::uint32_t sum = XXH32(chunk.data(), chunk.size(), seed);
    if (check_sum && sum != stored)
      return failed("checksum mismatch at byte " + std::to_string(in.pos()) +
                    ": the file was changed or damaged after it was recorded");
    seed = stored;
    if (std::string error = records.chunk(Cursor(chunk)); !error.empty()) return failed(error);
    for (std::uint64_t k = 0; k < length + 4; ++k) {
      std::uint8_t ignored;
      in.byte(ignored);
    }
  }
  if (!in.at_end()) return failed("data after the end record");
  return parse;
}

ReplayParse load_replay_file(const std::string& path) {
  // Non-blocking, so that a FIFO cannot hold the game up before it is found not to be a file.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return failed("cannot open '" + path + "': " + std::strerror(errno));
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return failed("'" + path + "' is not a regular file");
  }
  if (static_cast<std::uint64_t>(st.st_size) > kReplayMaxFileBytes) {
    ::close(fd);
    return failed("'" + path + "' is larger than a replay can be (" + std::to_string(kReplayMaxFileBytes >> 20) +
                  " MiB)");
  }
  // Read one byte past the size seen, so a file that grows meanwhile is still caught.
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(st.st_size) + 1);
  std::size_t got = 0;
  while (got < bytes.size()) {
    const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const std::string reason = std::strerror(errno);
      ::close(fd);
      return failed("cannot read '" + path + "': " + reason);
    }
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  ::close(fd);
  if (got > static_cast<std::size_t>(st.st_size)) return failed("'" + path + "' changed while it was read");
  bytes.resize(got);
  ReplayParse parse = parse_replay(bytes);
  if (!parse.error.empty()) parse.error = "'" + path + "': " + parse.error;
  return parse;
}
