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

// Whole bytes written, through interruptions; false on any error.
bool write_all(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// Writes, flushes to the disk and closes fd; false (errno kept) when any step fails.
bool finish_file(int fd, std::string_view bytes, WriteFault fault) {
  bool ok = fault != WriteFault::DiskFull && write_all(fd, bytes);
  int error = ok ? 0 : fault == WriteFault::DiskFull ? ENOSPC : errno;
  if (ok && ::fsync(fd) != 0) ok = false, error = errno;
  if (::close(fd) != 0 && ok) ok = false, error = errno;
  errno = error;
  return ok;
}

// The rename only lasts a power cut once the folder itself is on the disk.
void sync_folder() {
  const int fd = ::open(kHighScoreFolder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

enum class Aside { Written, Failed, NoTempFile };

// Written aside and renamed over the table, so a crash or a full disk mid-write never leaves a
// truncated table behind.
Aside write_aside(std::string_view bytes, WriteFault fault) {
  const int fd = ::open(kHighScoreTempPath, O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
  if (fd < 0) {
    report(kHighScoreTempPath, "cannot be made", errno);
    return Aside::NoTempFile;
  }
  if (!finish_file(fd, bytes, fault)) {
    report(kHighScoreTempPath, "cannot be written", errno);
    ::unlink(kHighScoreTempPath);
    return Aside::Failed;
  }
  if (fault == WriteFault::CrashBeforeRename) return Aside::Failed;
  if (std::rename(kHighScoreTempPath, kHighScorePath) != 0) {
    report(kHighScorePath, "cannot be replaced", errno);
    ::unlink(kHighScoreTempPath);
    return Aside::Failed;
  }
  sync_folder();
  return Aside::Written;
}

// The fallback for a folder where no new file can be made: the table rewritten where it is.
bool write_in_place(std::string_view bytes, WriteFault fault) {
  const int fd = ::open(kHighScorePath, O_WRONLY | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0644);
  if (fd < 0) {
    report(kHighScorePath, "cannot be written", errno);
    return false;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    report(kHighScorePath, "is not a regular file", EINVAL);
    return false;
  }
  if (::ftruncate(fd, 0) != 0) {
    const int error = errno;
    ::close(fd);
    report(kHighScorePath, "cannot be emptied", error);
    return false;
  }
  if (!finish_file(fd, bytes, fault)) {
    report(kHighScorePath, "cannot be written", errno);
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

TableFile read_high_score_file() {
  read_high_score_bytes({});
  // Non-blocking, so that a FIFO in the table's place cannot stall the open.
  const int fd = ::open(kHighScorePath, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT || errno == ENOTDIR) return TableFile::Missing;
    report(kHighScorePath, "cannot be opened, left as it is", errno);
    return TableFile::Locked;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    report(kHighScorePath, "is not a regular file, left as it is", EINVAL);
    return TableFile::Locked;
  }
  if (high_score_access(kHighScorePath, R_OK) != 0) {
    const int error = errno;
    ::close(fd);
    report(kHighScorePath, "cannot be read, left as it is", error);
    return TableFile::Locked;
  }
  std::string bytes(kMaxHighScoreBytes, '\0');
  std::size_t got = 0;
  while (got < bytes.size()) {
    const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int error = errno;
      ::close(fd);
      report(kHighScorePath, "cannot be read, left as it is", error);
      return TableFile::Locked;
    }
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  ::close(fd);
  read_high_score_bytes(std::string_view(bytes.data(), got));
  if (high_score_access(kHighScorePath, W_OK) != 0) {
    report(kHighScorePath, "is read-only, left as it is", errno);
    return TableFile::Locked;
  }
  return TableFile::Ready;
}

bool write_high_score_file(WriteFault fault) {
  std::string bytes;
  for (int i = 1; i <= 8; ++i) {
    std::string line = hs_lines[i];
    scramble_line(line.data(), line.size(), kScrambleKey);
    bytes += line;
    bytes += "\r\n";
  }
  // A missing "data" folder would otherwise lose the score: make it.
  std::error_code ignored;
  std::filesystem::create_directory(kHighScoreFolder, ignored);
  const Aside aside = write_aside(bytes, fault);
  if (aside == Aside::NoTempFile) return write_in_place(bytes, fault);
  return aside == Aside::Written;
}

std::size_t printable_text(std::string_view line, char* out, std::size_t capacity) {
  std::size_t n = 0;
  for (char c : line) {
    if (n == capacity) break;
    if (c >= 32 && c <= 126) out[n++] = c;
  }
  return n;
}
