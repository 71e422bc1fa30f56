#include "frontend/high_score_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <utility>

#include "frame/i_platform.h"
#include "frame/plain_file.h"
#include "frontend/high_scores.h"

std::string hs_lines[9];

void scramble_line(char* line, std::size_t length, std::string_view key) {
  if (key.empty()) return;
  for (std::size_t i = 0; i < length; ++i) {
    const unsigned b = static_cast<unsigned char>(line[i]);
    line[i] = static_cast<char>((b + static_cast<unsigned char>(key[i % key.size()])) & 0xFF);
  }
}

void unscramble_line(char* line, std::size_t length, std::string_view key) {
  if (key.empty()) return;
  for (std::size_t i = 0; i < length; ++i) {
    const unsigned b = static_cast<unsigned char>(line[i]);
    line[i] = static_cast<char>((b + 256 - static_cast<unsigned char>(key[i % key.size()])) & 0xFF);
  }
}

int (*high_score_access)(const char* path, int mode) = ::access;

namespace {

void report(const char* path, const char* what, int error) {
  std::fprintf(stderr, "torvane: %s: %s: %s\n", path, what, std::strerror(error));
}

// Writes, flushes to the disk and closes fd; false (errno kept) when any step fails.
bool finish_file(int fd, std::string_view bytes, WriteFault fault) {
  bool ok = fault != WriteFault::DiskFull && write_all(fd, bytes.data(), bytes.size());
  int error = ok ? 0 : fault == WriteFault::DiskFull ? ENOSPC : errno;
  if (ok && ::fsync(fd) != 0) ok = false, error = errno;
  if (::close(fd) != 0 && ok) ok = false, error = errno;
  errno = error;
  return ok;
}

enum class Aside { Written, Failed, NoTempFile };

// Written aside and renamed over the table, so a crash or a full disk mid-write never leaves a
// truncated table behind.
Aside write_aside(const HighScoreLocation& at, std::string_view bytes, WriteFault fault) {
  const int fd = ::open(at.temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
  if (fd < 0) {
    report(at.temp.c_str(), "cannot be made", errno);
    return Aside::NoTempFile;
  }
  if (!finish_file(fd, bytes, fault)) {
    report(at.temp.c_str(), "cannot be written", errno);
    ::unlink(at.temp.c_str());
    return Aside::Failed;
  }
  if (fault == WriteFault::CrashBeforeRename) return Aside::Failed;
  if (std::rename(at.temp.c_str(), at.file.c_str()) != 0) {
    report(at.file.c_str(), "cannot be replaced", errno);
    ::unlink(at.temp.c_str());
    return Aside::Failed;
  }
  sync_folder_of(at.file.c_str());
  return Aside::Written;
}

// The fallback for a folder where no new file can be made: the table rewritten where it is.
bool write_in_place(const HighScoreLocation& at, std::string_view bytes, WriteFault fault) {
  const int fd = ::open(at.file.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0644);
  if (fd < 0) {
    report(at.file.c_str(), "cannot be written", errno);
    return false;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    report(at.file.c_str(), "is not a regular file", EINVAL);
    return false;
  }
  if (::ftruncate(fd, 0) != 0) {
    const int error = errno;
    ::close(fd);
    report(at.file.c_str(), "cannot be emptied", error);
    return false;
  }
  if (!finish_file(fd, bytes, fault)) {
    report(at.file.c_str(), "cannot be written", errno);
    return false;
  }
  return true;
}

}  // namespace

void read_high_score_bytes(std::string_view bytes) {
  std::size_t at = 0;
  for (int i = 1; i <= 8; ++i) {
    std::string& line = hs_lines[i];
    line.clear();
    if (at >= bytes.size()) continue;
    while (at < bytes.size() && (bytes[at] == ' ' || bytes[at] == '\t')) ++at;
    const std::size_t end = std::min(bytes.find('\n', at), bytes.size());
    std::size_t stop = end;
    while (stop > at && bytes[stop - 1] == '\r') --stop;
    line.assign(bytes.substr(at, std::min(stop - at, kMaxLineLength)));
    unscramble_line(line.data(), line.size(), kScrambleKey);
    at = end + 1;
  }
}

namespace {

Reading read_table(void*, char* out, std::size_t capacity) {
  const HighScoreLocation at = high_score_location();
  const PlainReadResult read = read_plain_file(at.file.c_str(), out, capacity);
  const auto locked = static_cast<int>(TableFile::Locked);
  if (read.outcome == PlainRead::Missing) return {static_cast<int>(TableFile::Missing), 0};
  if (read.outcome == PlainRead::NotPlain) {
    report(at.file.c_str(), "is not a regular file, left as it is", EINVAL);
    return {locked, 0};
  }
  if (read.outcome == PlainRead::Failed || high_score_access(at.file.c_str(), R_OK) != 0) {
    report(at.file.c_str(), "cannot be read, left as it is", read.outcome == PlainRead::Failed ? read.error : errno);
    return {locked, 0};
  }
  if (high_score_access(at.file.c_str(), W_OK) != 0) {
    report(at.file.c_str(), "is read-only, left as it is", errno);
    return {locked, read.size};  // shown, never replaced
  }
  return {static_cast<int>(TableFile::Ready), read.size};
}

Reading write_table(void* context, char*, std::size_t) {
  const auto& [bytes, fault] = *static_cast<const std::pair<std::string, WriteFault>*>(context);
  // A missing "data" folder would otherwise lose the score: make it.
  const HighScoreLocation at = high_score_location();
  std::error_code ignored;
  std::filesystem::create_directories(at.folder, ignored);
  const Aside aside = write_aside(at, bytes, fault);
  if (aside == Aside::NoTempFile) return {write_in_place(at, bytes, fault) ? 1 : 0, 0};
  return {aside == Aside::Written ? 1 : 0, 0};
}

}  // namespace

// Both through the platform seam: a recording carries the table as it was read and whether it
// was saved, and a replay plays the table pages from that, touching no file.
TableFile read_high_score_file() {
  std::string bytes(kMaxHighScoreBytes, '\0');
  const Reading read = platform().take_reading(ReadingKind::HighScores, bytes.data(), bytes.size(), read_table, nullptr);
  read_high_score_bytes(std::string_view(bytes.data(), read.size));
  if (read.outcome == static_cast<int>(TableFile::Ready)) return TableFile::Ready;
  return read.outcome == static_cast<int>(TableFile::Missing) ? TableFile::Missing : TableFile::Locked;
}

bool write_high_score_file(WriteFault fault) {
  std::pair<std::string, WriteFault> job{std::string(), fault};
  for (int i = 1; i <= 8; ++i) {
    std::string line = hs_lines[i];
    scramble_line(line.data(), line.size(), kScrambleKey);
    job.first += line;
    job.first += "\r\n";
  }
  return platform().take_reading(ReadingKind::HighScoresSaved, nullptr, 0, write_table, &job).outcome == 1;
}

std::size_t printable_text(std::string_view line, char* out, std::size_t capacity) {
  std::size_t n = 0;
  for (char c : line) {
    if (n == capacity) break;
    if (c >= 32 && c <= 126) out[n++] = c;
  }
  return n;
}
