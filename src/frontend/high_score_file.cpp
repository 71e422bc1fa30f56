#include "frontend/high_score_file.h"

#include <unistd.h>

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

namespace {

// One line up to LF, CR LF or a lone CR; leading spaces and tabs skipped; at most
// kMaxLineLength bytes kept. False at the end of the file with nothing read.
bool read_line(std::FILE* file, std::string& line) {
  line.clear();
  int c = std::getc(file);
  if (c == EOF) return false;
  while (c == ' ' || c == '\t') c = std::getc(file);
  while (c != EOF && c != '\n' && c != '\r') {
    if (line.size() < kMaxLineLength) line.push_back(static_cast<char>(c));
    c = std::getc(file);
  }
  if (c == '\r') {
    const int next = std::getc(file);
    if (next != '\n' && next != EOF) std::ungetc(next, file);
  }
  return true;
}

}  // namespace

void read_high_score_stream(std::FILE* file) {
  for (int i = 1; i <= 8; ++i) {
    hs_lines[i].clear();
    if (file && read_line(file, hs_lines[i]))
      unscramble_line(hs_lines[i].data(), hs_lines[i].size(), kScrambleKey);
  }
}

void read_high_score_file() {
  std::FILE* file = std::fopen(high_score_location().file.c_str(), "rb");
  read_high_score_stream(file);
  if (file) std::fclose(file);
}

bool write_high_score_file(WriteFault fault) {
  std::string bytes;
  for (int i = 1; i <= 8; ++i) {
    scramble_line(hs_lines[i].data(), hs_lines[i].size(), kScrambleKey);
    bytes += hs_lines[i];
    bytes += "\r\n";
  }
  // A missing "data" folder would otherwise lose the score: make it.
  const HighScoreLocation at = high_score_location();
  std::error_code ignored;
  std::filesystem::create_directories(at.folder, ignored);
  // Written aside and renamed over the table, so a crash or a full disk mid-write never
  // leaves a truncated table behind.
  std::FILE* file = std::fopen(at.temp.c_str(), "wb");
  if (!file) return false;
  bool ok = fault != WriteFault::DiskFull &&
            std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  ok = std::fflush(file) == 0 && ok;
  ok = ::fsync(fileno(file)) == 0 && ok;
  ok = std::fclose(file) == 0 && ok;
  if (fault == WriteFault::CrashBeforeRename) return false;
  if (ok) ok = std::rename(at.temp.c_str(), at.file.c_str()) == 0;
  if (!ok) std::remove(at.temp.c_str());
  return ok;
}

std::size_t printable_text(std::string_view line, char* out, std::size_t capacity) {
  std::size_t n = 0;
  for (char c : line) {
    if (n == capacity) break;
    if (c >= 32 && c <= 126) out[n++] = c;
  }
  return n;
}
