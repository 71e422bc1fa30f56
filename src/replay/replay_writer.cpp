// Writing a replay file through a fixed buffer.
#include "replay/replay_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <xxhash.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

std::string quoted(const std::string& path) { return "'" + path + "'"; }

const char* what_it_is(mode_t mode) {
  if (S_ISDIR(mode)) return "a folder";
  if (S_ISFIFO(mode)) return "a FIFO";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
  if (S_ISLNK(mode)) return "a symbolic link";
  if (S_ISSOCK(mode)) return "a socket";
  return "not a regular file";
}

// "" when nothing is at path or a regular file is; otherwise what is there.
std::string not_regular(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0 || S_ISREG(st.st_mode)) return "";
  return quoted(path) + " is " + what_it_is(st.st_mode) + "; a recording goes only to a new name or over a regular file";
}

}  // namespace

std::string replay_target_problem(const std::string& path) {
  if (std::string problem = not_regular(path); !problem.empty()) return problem;
  if (std::string problem = not_regular(path + ".part"); !problem.empty()) return problem;
  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
  struct stat st {};
  if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
    return "cannot record into " + quoted(path) + ": folder " + quoted(folder) + " does not exist";
  if (::access(folder.c_str(), W_OK | X_OK) != 0)
    return "cannot record into " + quoted(path) + ": folder " + quoted(folder) + " is not writable";
  return "";
}

ReplayWriter::~ReplayWriter() {
  if (fd_ >= 0) ::close(fd_);
}

std::string ReplayWriter::open(const std::string& path, std::uint32_t state_size, bool runner_made) {
  if (std::string problem = replay_target_problem(path); !problem.empty()) return problem;
  path_ = path;
  part_path_ = path + ".part";
  // O_NOFOLLOW: a planted link must not make the recording overwrite another file; O_NONBLOCK:
  // a FIFO put there meanwhile must not hold the game up before it is found out.
  fd_ = ::open(part_path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0644);
  if (fd_ < 0) return "cannot create " + quoted(part_path_) + ": " + std::strerror(errno);
  struct stat st {};
  if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd_);
    fd_ = -1;
    return quoted(part_path_) + " is not a regular file";
  }
  header(state_size, runner_made);
  return failure_;
}

void ReplayWriter::header(std::uint32_t state_size, bool runner_made) {
  std::uint8_t bytes[8 + 4 + 1 + 255];
  std::size_t n = 0;
  for (char c : kReplayMagic) bytes[n++] = static_cast<std::uint8_t>(c);
  bytes[n++] = kReplayFormatVersion & 0xFF;
  bytes[n++] = kReplayFormatVersion >> 8;
  bytes[n++] = state_size & 0xFF;
  bytes[n++] = (state_size >> 8) & 0xFF;
  // Put together without the heap: this runs as a round begins.
  const auto add = [&](const char* text) {
    for (; *text && n < sizeof bytes; ++text) bytes[n++] = static_cast<std::uint8_t>(*text);
  };
  const std::size_t length_at = n++;
  add(kReplayGameVersion);
  if (runner_made) add(kReplayRunnerMark);
  bytes[length_at] = static_cast<std::uint8_t>(n - length_at - 1);
  seed_ = XXH32(bytes, n, 0);
  write_out(bytes, n);
}

void ReplayWriter::open_memory(std::uint8_t* buffer, std::size_t capacity, std::uint32_t state_size, bool runner_made) {
  memory_ = buffer;
  memory_capacity_ = capacity;
  memory_used_ = 0;
  failure_[0] = '\0';
  ended_ = false;
  used_ = 0;
  total_ = 0;
  have_clock_ = false;
  first_clock_ = last_clock_ = 0.0;
  last_step_kind_ = ReplayKind::ClockRaw;
  last_step_ = 0;
  header(state_size, runner_made);
}

bool ReplayWriter::write_out(const std::uint8_t* bytes, std::size_t size) {
  total_ += size;
  if (failure_[0]) return false;
  if (memory_) {
    if (size > memory_capacity_ - memory_used_) {
      std::snprintf(failure_, sizeof failure_, "the recording outgrew its %zu bytes in memory", memory_capacity_);
      return false;
    }
    std::memcpy(memory_ + memory_used_, bytes, size);
    memory_used_ += size;
    return true;
  }
  if (fd_ < 0) return false;
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = ::write(fd_, bytes + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      std::snprintf(failure_, sizeof failure_, "cannot write '%s': %s", part_path_.c_str(), std::strerror(n < 0 ? errno : ENOSPC));
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

void ReplayWriter::end_chunk() {
  if (used_ == 0) return;
  const std::uint32_t sum = XXH32(chunk_.data(), used_, seed_);
  seed_ = sum;
  std::uint8_t length[4], trailer[4];
  std::size_t n = 0;
  for (std::size_t v = used_; ; v >>= 7) {
    length[n++] = static_cast<std::uint8_t>(v >= 0x80 ? (v & 0x7F) | 0x80 : v);
    if (v < 0x80) break;
  }
  for (int i = 0; i < 4; ++i) trailer[i] = static_cast<std::uint8_t>(sum >> (8 * i));
  // A failure leaves the chunk cut inside the file: the reader drops it as cut short.
  write_out(length, n) && write_out(chunk_.data(), used_) && write_out(trailer, 4);
  used_ = 0;
}

void ReplayWriter::varint(std::uint64_t v) {
  while (v >= 0x80) {
    put(static_cast<std::uint8_t>(v | 0x80));
    v >>= 7;
  }
  put(static_cast<std::uint8_t>(v));
}

void ReplayWriter::fixed64(std::uint64_t v) {
  for (int i = 0; i < 8; ++i) put(static_cast<std::uint8_t>(v >> (8 * i)));
}

void ReplayWriter::tag(ReplayKind kind, std::uint64_t gap, std::size_t payload_room) {
  // Records never straddle chunks.
  if (used_ + 11 + payload_room > chunk_.size()) end_chunk();
  const std::uint64_t in_tag = gap < kReplayGapInTag ? gap : kReplayGapInTag;
  put(static_cast<std::uint8_t>(static_cast<unsigned>(kind) | (in_tag << 4)));
  if (in_tag == kReplayGapInTag) varint(gap);
}

void ReplayWriter::clock(std::uint64_t gap, double reading) {
  // The smallest coding that gives the reading back bit for bit; the raw bytes otherwise.
  if (have_clock_ && std::memcmp(&reading, &last_clock_, sizeof reading) == 0) {
    tag(ReplayKind::ClockSame, gap, 0);
    return;
  }
  std::int64_t before = 0, now = 0;
  ReplayKind kind = ReplayKind::ClockRaw;
  if (have_clock_ && reading >= last_clock_) {
    if (replay_micro_count(first_clock_, last_clock_, before) && replay_micro_count(first_clock_, reading, now) &&
        now >= before && replay_clock_from_micro(first_clock_, now) == reading)
      kind = ReplayKind::ClockMicro;
    else if (replay_nano_count(last_clock_, before) && replay_nano_count(reading, now) && now >= before &&
             replay_clock_from_nano(now) == reading)
      kind = ReplayKind::ClockNano;
  }
  if (kind != ReplayKind::ClockRaw) {
    const auto step = static_cast<std::uint64_t>(now - before);
    // A frame's clock mostly moves by the same step as the last time.
    if (kind == last_step_kind_ && step == last_step_) {
      tag(ReplayKind::ClockRepeat, gap, 0);
    } else {
      tag(kind, gap, 10);
      varint(step);
    }
    last_step_kind_ = kind;
    last_step_ = step;
    last_clock_ = reading;
    return;
  }
  tag(ReplayKind::ClockRaw, gap, 8);
  std::uint64_t bits = 0;
  std::memcpy(&bits, &reading, sizeof bits);
  fixed64(bits);
  if (!have_clock_) first_clock_ = reading;
  have_clock_ = true;
  last_clock_ = reading;
  last_step_kind_ = ReplayKind::ClockRaw;
}

void ReplayWriter::input(std::uint64_t gap, std::span<const ReplayByteChange> changes) {
  tag(ReplayKind::Input, gap, 10 + changes.size() * 4);
  varint(changes.size());
  std::uint64_t next = 0;
  for (const ReplayByteChange& c : changes) {
    varint(c.offset - next);
    put(c.value);
    next = c.offset + 1u;
  }
}

void ReplayWriter::opened(std::uint64_t gap, bool ok) { tag(ok ? ReplayKind::OpenOk : ReplayKind::OpenFailed, gap, 0); }

void ReplayWriter::checkpoint(std::uint64_t gap, std::uint64_t page_digest, std::uint64_t sound_digest) {
  tag(ReplayKind::Checkpoint, gap, 16);
  fixed64(page_digest);
  fixed64(sound_digest);
  end_chunk();
}

void ReplayWriter::reading(std::uint64_t gap, ReadingKind kind, int outcome, const char* bytes, std::size_t size) {
  if (size > kReplayMaxReadingBytes) size = kReplayMaxReadingBytes;  // never: the game reads less
  tag(ReplayKind::Reading, gap, 1 + 10 + 10 + size);
  put(static_cast<std::uint8_t>(kind));
  const auto code = static_cast<std::uint32_t>(outcome);
  varint((code << 1) ^ (0u - (code >> 31)));
  varint(size);
  for (std::size_t i = 0; i < size; ++i) put(static_cast<std::uint8_t>(bytes[i]));
}

void ReplayWriter::end(std::uint64_t gap, int exit_code, bool inside_call, std::uint64_t digest,
                       std::int64_t frames) {
  if (ended_) return;
  ended_ = true;
  tag(ReplayKind::End, gap, 30);
  const auto code = static_cast<std::uint32_t>(exit_code);
  varint((code << 1) ^ (0u - (code >> 31)));
  put(inside_call ? 1 : 0);
  fixed64(digest);
  varint(static_cast<std::uint64_t>(frames));
  end_chunk();
}

std::string ReplayWriter::finish() {
  if (fd_ < 0) return "the recording was never started";
  if (!ended_) {
    ::close(fd_);
    fd_ = -1;
    return "the recording has no end; left unfinished in " + quoted(part_path_);
  }
  if (!failure_[0] && ::fsync(fd_) != 0)
    std::snprintf(failure_, sizeof failure_, "cannot write '%s': %s", part_path_.c_str(), std::strerror(errno));
  if (::close(fd_) != 0 && !failure_[0])
    std::snprintf(failure_, sizeof failure_, "cannot write '%s': %s", part_path_.c_str(), std::strerror(errno));
  fd_ = -1;
  // Something put at the name while the game ran is left alone.
  if (std::string problem = not_regular(path_); !problem.empty())
    return problem + "; the recording stays in " + quoted(part_path_);
  if (std::rename(part_path_.c_str(), path_.c_str()) != 0)
    return "cannot put the recording in place as " + quoted(path_) + ": " + std::strerror(errno);
  return "";
}
