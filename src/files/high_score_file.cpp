// Reading, scrambling and saving the high-score file.
#include "files/high_score_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "system/i_platform.h"
#include "system/plain_file.h"
#include "system/safe_save.h"
#include "system/user_folders.h"

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

namespace {

// The table as the file holds it now, into out.
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

TableFile table_file(const Reading& read) {
  if (read.outcome == static_cast<int>(TableFile::Ready)) return TableFile::Ready;
  return read.outcome == static_cast<int>(TableFile::Missing) ? TableFile::Missing : TableFile::Locked;
}

std::string table_bytes() {
  std::string bytes;
  for (int i = 1; i <= 8; ++i) {
    std::string line = hs_lines[i];
    scramble_line(line.data(), line.size(), kScrambleKey);
    bytes += line;
    bytes += "\r\n";
  }
  return bytes;
}

struct Change {
  void (*apply)(void* context);
  void* context;
};

// Under the table's lock the table is read again, as another game may have saved since, the
// change is made to it and it is written. The table as it then stands goes to out.
Reading change_table(void* context, char* out, std::size_t capacity) {
  const Change& change = *static_cast<const Change*>(context);
  make_folders(high_score_location().folder);  // the lock is the folder's: it must be there
  const FolderLock turn(high_score_target().c_str());
  const Reading now = read_table(nullptr, out, capacity);
  const TableFile file = table_file(now);
  if (file != TableFile::Locked) read_high_score_bytes(std::string_view(out, now.size));
  change.apply(change.context);
  const std::string bytes = table_bytes();
  const bool saved = file != TableFile::Locked && write_high_score_file();
  const std::size_t size = std::min(bytes.size(), capacity);
  std::memcpy(out, bytes.data(), size);
  return {saved ? 1 : 0, size};
}

}  // namespace

// Both through the platform seam: a recording carries the table as it was read and as it was
// saved, and a replay plays the table pages from that, touching no file.
TableFile read_high_score_file() {
  std::string bytes(kMaxHighScoreBytes, '\0');
  const Reading read = platform().take_reading(ReadingKind::HighScores, bytes.data(), bytes.size(), read_table, nullptr);
  read_high_score_bytes(std::string_view(bytes.data(), read.size));
  return table_file(read);
}

bool save_high_score_change(void (*apply)(void* context), void* context) {
  Change change{apply, context};
  std::string bytes(kMaxHighScoreBytes, '\0');
  const Reading saved = platform().take_reading(ReadingKind::HighScoresSaved, bytes.data(), bytes.size(), change_table, &change);
  read_high_score_bytes(std::string_view(bytes.data(), saved.size));
  return saved.outcome == 1;
}

std::string high_score_target() {
  const std::string file = high_score_location().file;
  char target[4096];
  return follow_links(file.c_str(), target, sizeof target) ? std::string(target) : file;
}

bool write_high_score_file() {
  const std::string bytes = table_bytes();
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
