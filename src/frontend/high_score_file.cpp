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

#include "frame/plain_file.h"
#include "frame/safe_save.h"
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

// The fallback for a folder where no new file can be made: the table rewritten where it is.
bool write_in_place(const char* file, std::string_view bytes) {
  const int fd = ::open(file, O_RDWR | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0644);
  if (fd < 0) {
    report(file, "cannot be written", errno);
    return false;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    report(file, "is not a regular file", EINVAL);
    return false;
  }
  const bool ok = rewrite_in_place(fd, bytes.data(), bytes.size());
  const int error = errno;
  ::close(fd);
  if (!ok) report(file, "cannot be written", error);
  return ok;
}

}  // namespace

// Nothing after the eighth line is read: a save in place that has not yet cut the length leaves
// the old table's tail behind the new lines.
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
  const HighScoreLocation at = high_score_location();
  read_high_score_bytes({});
  std::string bytes(kMaxHighScoreBytes, '\0');
  const PlainReadResult read = read_plain_file(at.file.c_str(), bytes.data(), bytes.size());
  if (read.outcome == PlainRead::Missing) return TableFile::Missing;
  if (read.outcome == PlainRead::NotPlain) {
    report(at.file.c_str(), "is not a regular file, left as it is", EINVAL);
    return TableFile::Locked;
  }
  if (read.outcome == PlainRead::Failed || high_score_access(at.file.c_str(), R_OK) != 0) {
    report(at.file.c_str(), "cannot be read, left as it is", read.outcome == PlainRead::Failed ? read.error : errno);
    return TableFile::Locked;
  }
  read_high_score_bytes(std::string_view(bytes.data(), read.size));
  if (high_score_access(at.file.c_str(), W_OK) != 0) {
    report(at.file.c_str(), "is read-only, left as it is", errno);
    return TableFile::Locked;
  }
  return TableFile::Ready;
}

std::string high_score_target() {
  const std::string file = high_score_location().file;
  char target[4096];
  return follow_links(file.c_str(), target, sizeof target) ? std::string(target) : file;
}

bool write_high_score_file() {
  std::string bytes;
  for (int i = 1; i <= 8; ++i) {
    std::string line = hs_lines[i];
    scramble_line(line.data(), line.size(), kScrambleKey);
    bytes += line;
    bytes += "\r\n";
  }
  // A missing "data" folder would otherwise lose the score: make it.
  std::error_code ignored;
  std::filesystem::create_directories(high_score_location().folder, ignored);
  const std::string target = high_score_target();
  switch (replace_file(target.c_str(), bytes.data(), bytes.size())) {
    case Replaced::Done: return true;
    case Replaced::Failed: report(target.c_str(), "cannot be replaced", errno); return false;
    case Replaced::NoTempFile: break;
  }
  report(target.c_str(), "no new file can be made beside it, so it is rewritten in place", errno);
  return write_in_place(target.c_str(), bytes);
}

std::size_t printable_text(std::string_view line, char* out, std::size_t capacity) {
  std::size_t n = 0;
  for (char c : line) {
    if (n == capacity) break;
    if (c >= 32 && c <= 126) out[n++] = c;
  }
  return n;
}
