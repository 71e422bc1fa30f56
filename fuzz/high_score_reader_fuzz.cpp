// Fuzzes the high-score file reader with arbitrary file contents. Build and run from the
// project root (kept out of the CMake build: it needs clang's libFuzzer):
//   clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -Isrc fuzz/high_score_reader_fuzz.cpp src/files/high_score_file.cpp src/files/high_score_location.cpp src/system/user_folders.cpp src/system/plain_file.cpp src/files/score_text.cpp -o /tmp/hs_fuzz && /tmp/hs_fuzz -runs=200000 -max_len=20000
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "files/high_score_file.h"
#include "files/score_text.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The bytes as the file's content, split by the same code as data/hs.dat.
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  read_high_score_bytes(bytes);

  for (int i = 1; i <= 8; ++i) {
    const std::string& line = hs_lines[i];
    check(line.size() <= kMaxLineLength);
    // A line never holds its LF, nor (short of the length cut) the CRs before it.
    std::string raw = line;
    scramble_line(raw.data(), raw.size(), kScrambleKey);
    check(raw.find('\n') == std::string::npos);
    check(raw.empty() || raw.back() != '\r' || raw.size() == kMaxLineLength);

    // What the table draws of it is printable and fits the screen.
    char shown[80];
    const std::size_t n = printable_text(line, shown, sizeof shown);
    check(n <= sizeof shown);
    for (std::size_t k = 0; k < n; ++k) check(shown[k] >= 32 && shown[k] <= 126);

    // Any text reads as a finite score, and the text written for it reads back the same.
    const float score = parse_score_text(line);
    check(std::isfinite(score));
    char text[kScoreTextCapacity];
    const std::size_t length = format_score_text(score, text);
    check(length > 0 && length <= kScoreTextCapacity);
    const std::string written(text, length);
    const float back = parse_score_text(written);
    char again[kScoreTextCapacity];
    check(std::string(again, format_score_text(back, again)) == written);

    // Scrambling for the write and unscrambling on the next read give the line back.
    std::string copy = line;
    scramble_line(copy.data(), copy.size(), kScrambleKey);
    unscramble_line(copy.data(), copy.size(), kScrambleKey);
    check(copy == line);
  }
  return 0;
}
