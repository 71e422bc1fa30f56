#pragma once
// The file "hs.dat": eight lines (four names, then four score texts), each scrambled
// with the key "vantry" and ended by CR LF.
#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

// Where the table lives: data/hs.dat under the working folder when that file is there (a
// portable copy) or when keep_high_scores_in_working_folder says so, otherwise hs.dat in the
// user's data folder.
struct HighScoreLocation {
  std::string folder;  // made when a score is first written
  std::string file;
  std::string temp;  // written aside, then renamed over file
};
HighScoreLocation high_score_location();
// The headless runner's --workdir and the tests keep the table in data/ even before it exists.
void keep_high_scores_in_working_folder(bool keep);
constexpr std::string_view kScrambleKey = "vantry";
// Longest line kept; the rest of a longer line is skipped.
constexpr std::size_t kMaxLineLength = 4096;

// Reads eight lines from an open file into hs_lines and unscrambles them; a null file, or
// missing lines, read as empty. Any bytes at all are safe to read.
void read_high_score_stream(std::FILE* file);

// Where a write is made to stop, so that tests can see what an interruption leaves behind.
enum class WriteFault {
  None,
  CrashBeforeRename,  // the temporary file is complete but never renamed
  DiskFull,           // writing the temporary file fails
};

// Scrambles hs_lines[1..8] in place and writes them; true when the new table is in place.
// On failure the old file is left exactly as it was.
bool write_high_score_file(WriteFault fault = WriteFault::None);

// The printable characters (32..126) of a line, at most what fits across the screen.
std::size_t printable_text(std::string_view line, char* out, std::size_t capacity);
