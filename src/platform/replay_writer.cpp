#include "platform/replay_writer.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

ReplayWriter::~ReplayWriter() {
  if (fd_ >= 0) ::close(fd_);
}

std::string ReplayWriter::open(const std::string& path, std::uint32_t state_size) {
  path_ = path;
  part_path_ = path + ".part";
  // O_NOFOLLOW: a planted link must not make the recording overwrite another file.
  fd_ = ::open(part_path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0644);
  if (fd_ < 0) return "cannot create '" + part_path_ + "': " + std::strerror(errno);
  XXH64_reset(&sum_, 0);
  for (char c : kReplayMagic) put(static_cast<std::uint8_t>(c));
  put(kReplayFormatVersion & 0xFF);
  put(kReplayFormatVersion >> 8);
  put(state_size & 0xFF);
  put((state_size >> 8) & 0xFF);
  const std::string version = kReplayGameVersion;
  put(static_cast<std::uint8_t>(version.size()));
  for (char c : version) put(static_cast<std::uint8_t>(c));
  return "";
}

void ReplayWriter::put(std::uint8_t b) {
  if (used_ == buffer_.size()) flush();
  buffer_[used_++] = b;
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

void ReplayWriter::flush() {
  if (used_ == 0) return;
  XXH64_update(&sum_, buffer_.data(), used_);
  total_ += used_;
  std::size_t done = 0;
  while (!failed_ && fd_ >= 0 && done < used_) {
    const ssize_t n = ::write(fd_, buffer_.data() + done, used_ - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      failed_ = true;
      error_ = "cannot write '" + part_path_ + "': " + std::strerror(n < 0 ? errno : ENOSPC);
      break;
    }
    done += static_cast<std::size_t>(n);
  }
  used_ = 0;
}

void ReplayWriter::tag(ReplayKind kind, std::uint64_t gap) {
  const std::uint64_t in_tag = gap < kReplayGapInTag ? gap : kReplayGapInTag;
  put(static_cast<std::uint8_t>(static_cast<unsigned>(kind) | (in_tag << 3)));
  if (in_tag == kReplayGapInTag) varint(gap);
}

void ReplayWriter::clock(std::uint64_t gap, double reading) {
  // The smallest coding that gives the reading back bit for bit; the raw bytes otherwise.
  std::int64_t before = 0, now = 0;
  if (have_clock_ && reading >= last_clock_) {
    if (replay_micro_count(first_clock_, last_clock_, before) && replay_micro_count(first_clock_, reading, now) &&
        now >= before && replay_clock_from_micro(first_clock_, now) == reading) {
      tag(ReplayKind::ClockMicro, gap);
      varint(static_cast<std::uint64_t>(now - before));
      last_clock_ = reading;
      return;
    }
    if (replay_nano_count(last_clock_, before) && replay_nano_count(reading, now) && now >= before &&
        replay_clock_from_nano(now) == reading) {
      tag(ReplayKind::ClockNano, gap);
      varint(static_cast<std::uint64_t>(now - before));
      last_clock_ = reading;
      return;
    }
  }
  tag(ReplayKind::ClockRaw, gap);
  std::uint64_t bits = 0;
  std::memcpy(&bits, &reading, sizeof bits);
  fixed64(bits);
  if (!have_clock_) first_clock_ = reading;
  have_clock_ = true;
  last_clock_ = reading;
}

void ReplayWriter::input(std::uint64_t gap, std::span<const ReplayByteChange> changes) {
  tag(ReplayKind::Input, gap);
  varint(changes.size());
  std::uint64_t next = 0;
  for (const ReplayByteChange& c : changes) {
    varint(c.offset - next);
    put(c.value);
    next = c.offset + 1u;
  }
}

void ReplayWriter::opened(std::uint64_t gap, bool ok) { tag(ok ? ReplayKind::OpenOk : ReplayKind::OpenFailed, gap); }

void ReplayWriter::checkpoint(std::uint64_t gap, std::uint64_t digest) {
  tag(ReplayKind::Checkpoint, gap);
  fixed64(digest);
}

void ReplayWriter::end(std::uint64_t gap, int exit_code, bool inside_call, std::uint64_t digest,
                       std::int64_t frames) {
  if (ended_) return;
  ended_ = true;
  tag(ReplayKind::End, gap);
  const auto code = static_cast<std::uint32_t>(exit_code);
  varint((code << 1) ^ (0u - (code >> 31)));
  put(inside_call ? 1 : 0);
  fixed64(digest);
  varint(static_cast<std::uint64_t>(frames));
}

std::string ReplayWriter::finish() {
  if (fd_ < 0) return error_;
  if (!ended_) {
    ::close(fd_);
    fd_ = -1;
    return "the recording has no end; left unfinished in '" + part_path_ + "'";
  }
  flush();
  const std::uint64_t sum = XXH64_digest(&sum_);
  for (int i = 0; i < 8; ++i) buffer_[used_++] = static_cast<std::uint8_t>(sum >> (8 * i));
  // The trailer is not part of its own sum: write it without hashing.
  std::size_t done = 0;
  while (!failed_ && done < used_) {
    const ssize_t n = ::write(fd_, buffer_.data() + done, used_ - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      failed_ = true;
      error_ = "cannot write '" + part_path_ + "': " + std::strerror(n < 0 ? errno : ENOSPC);
    } else {
      done += static_cast<std::size_t>(n);
    }
  }
  total_ += used_;
  used_ = 0;
  if (!failed_ && ::fsync(fd_) != 0) {
    failed_ = true;
    error_ = "cannot write '" + part_path_ + "': " + std::strerror(errno);
  }
  if (::close(fd_) != 0 && !failed_) {
    failed_ = true;
    error_ = "cannot write '" + part_path_ + "': " + std::strerror(errno);
  }
  fd_ = -1;
  if (failed_) return error_;
  if (std::rename(part_path_.c_str(), path_.c_str()) != 0)
    return "cannot put the recording in place as '" + path_ + "': " + std::strerror(errno);
  return "";
}
