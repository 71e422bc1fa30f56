// Reading a replay file: everything is checked before a single call is served, so a bad file
// ends with a message before the game starts rather than as half a game.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <xxhash.h>

#include <cerrno>
#include <cmath>
#include <cstring>

#include "platform/replay_format.h"

namespace {

// The widest the clock may range over one recording: far beyond any session, small enough
// that the game's own time arithmetic stays in range.
constexpr double kMaxClockSpan = 1e6;  // seconds
constexpr double kMaxClockMagnitude = 1e12;

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

ReplayParse parse_replay(std::span<const std::uint8_t> bytes, bool check_sum) {
  if (bytes.empty()) return failed("the file is empty");
  if (bytes.size() > kReplayMaxFileBytes) return failed("the file is larger than a replay can be");
  if (bytes.size() < sizeof kReplayMagic || std::memcmp(bytes.data(), kReplayMagic, sizeof kReplayMagic) != 0)
    return failed("not a replay file (no TVREPLAY header)");
  if (bytes.size() < sizeof kReplayMagic + 8) return failed("truncated inside the header");
  const std::size_t body = bytes.size() - 8;
  Cursor trailer(bytes.subspan(body));
  std::uint64_t stored_sum = 0;
  trailer.fixed64(stored_sum);

  ReplayParse parse;
  ReplayData& data = parse.data;
  Cursor in(bytes.first(body));
  for (std::size_t i = 0; i < sizeof kReplayMagic; ++i) {
    std::uint8_t ignored;
    in.byte(ignored);
  }
  std::uint16_t version = 0, state_size = 0;
  std::uint8_t name_length = 0;
  if (!in.fixed16(version)) return failed("truncated inside the header");
  if (version != kReplayFormatVersion)
    return failed("replay format version " + std::to_string(version) + ", this game reads version " +
                  std::to_string(kReplayFormatVersion));
  if (!in.fixed16(state_size) || !in.byte(name_length) || in.left() < name_length)
    return failed("truncated inside the header");
  if (state_size == 0) return failed("the header gives no input state");
  data.state_size = state_size;
  for (int i = 0; i < name_length; ++i) {
    std::uint8_t c = 0;
    in.byte(c);
    if (c < 32 || c > 126) return failed("the header's game version is not printable text");
    data.game_version.push_back(static_cast<char>(c));
  }
  // The trailer is checked once the header is known to be ours, so a foreign or older file
  // is named as such rather than as damaged.
  if (check_sum && XXH64(bytes.data(), body, 0) != stored_sum)
    return failed("checksum mismatch: the file was changed or damaged after it was recorded");

  bool have_clock = false, ended = false;
  double first_clock = 0.0, last_clock = 0.0;
  while (!in.at_end()) {
    const std::size_t n = data.records.size();
    if (ended) return failed(at_record(n, "data after the end record"));
    std::uint8_t tag = 0;
    in.byte(tag);
    ReplayRecord r;
    r.kind = static_cast<ReplayKind>(tag & 7);
    r.gap = tag >> 3;
    if (r.gap == kReplayGapInTag && (!in.varint(r.gap) || r.gap > (std::uint64_t{1} << 40)))
      return failed(at_record(n, "truncated or impossible call count"));
    switch (r.kind) {
      case ReplayKind::ClockRaw:
      case ReplayKind::ClockMicro:
      case ReplayKind::ClockNano: {
        if (r.kind == ReplayKind::ClockRaw) {
          std::uint64_t bits = 0;
          if (!in.fixed64(bits)) return failed(at_record(n, "truncated clock reading"));
          std::memcpy(&r.clock, &bits, sizeof r.clock);
        } else {
          std::uint64_t delta = 0;
          if (!in.varint(delta) || delta > (std::uint64_t{1} << 52))
            return failed(at_record(n, "truncated or impossible clock step"));
          if (!have_clock) return failed(at_record(n, "a clock step before any clock reading"));
          std::int64_t count = 0;
          const bool micro = r.kind == ReplayKind::ClockMicro;
          if (!(micro ? replay_micro_count(first_clock, last_clock, count) : replay_nano_count(last_clock, count)))
            return failed(at_record(n, "a clock step from a reading it cannot follow"));
          count += static_cast<std::int64_t>(delta);
          r.clock = micro ? replay_clock_from_micro(first_clock, count) : replay_clock_from_nano(count);
        }
        if (!std::isfinite(r.clock) || std::fabs(r.clock) > kMaxClockMagnitude)
          return failed(at_record(n, "a clock reading that is not a sane number"));
        if (have_clock && r.clock < last_clock) return failed(at_record(n, "the clock goes backwards"));
        if (!have_clock) first_clock = r.clock;
        if (r.clock - first_clock > kMaxClockSpan) return failed(at_record(n, "the clock jumps too far ahead"));
        have_clock = true;
        last_clock = r.clock;
        break;
      }
      case ReplayKind::Input: {
        std::uint64_t count = 0;
        if (!in.varint(count) || count == 0 || count > state_size)
          return failed(at_record(n, "truncated or impossible number of input changes"));
        r.first_change = static_cast<std::uint32_t>(data.changes.size());
        r.changes = static_cast<std::uint32_t>(count);
        std::uint64_t offset = 0;
        for (std::uint64_t k = 0; k < count; ++k) {
          std::uint64_t skip = 0;
          std::uint8_t value = 0;
          if (!in.varint(skip) || !in.byte(value)) return failed(at_record(n, "truncated input change"));
          offset += skip;
          if (skip >= state_size || offset >= state_size)
            return failed(at_record(n, "an input change outside the input state"));
          data.changes.push_back({static_cast<std::uint16_t>(offset), value});
          ++offset;
        }
        break;
      }
      case ReplayKind::OpenOk:
      case ReplayKind::OpenFailed:
        break;
      case ReplayKind::Checkpoint:
        if (!in.fixed64(r.digest)) return failed(at_record(n, "truncated checkpoint"));
        break;
      case ReplayKind::End: {
        std::uint64_t code = 0, frames = 0;
        std::uint8_t inside = 0;
        if (!in.varint(code) || !in.byte(inside) || !in.fixed64(r.digest) || !in.varint(frames))
          return failed(at_record(n, "truncated end record"));
        if (code > 0xFFFFFFFFu || inside > 1 || frames > (std::uint64_t{1} << 40))
          return failed(at_record(n, "an impossible end record"));
        const auto zigzag = static_cast<std::uint32_t>(code);
        r.exit_code = static_cast<std::int32_t>((zigzag >> 1) ^ (0u - (zigzag & 1u)));
        r.inside_call = inside == 1;
        r.frames = static_cast<std::int64_t>(frames);
        ended = true;
        break;
      }
    }
    data.records.push_back(r);
  }
  if (!ended) return failed("truncated: the recording stops before its end record");
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
