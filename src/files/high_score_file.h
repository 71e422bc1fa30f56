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
};
HighScoreLocation high_score_location();
// The headless runner's --workdir and the tests keep the table in data/ even before it exists.
void keep_high_scores_in_working_folder(bool keep);
constexpr std::string_view kScrambleKey = "vantry";

extern std::string hs_lines[9];  // [1..8]: names of places 1..4, then their score texts

// Each byte of a line, lightly scrambled with the key and back.
void scramble_line(char* line, std::size_t length, std::string_view key);
void unscramble_line(char* line, std::size_t length, std::string_view key);
// Longest line kept; the rest of a longer line is skipped.
constexpr std::size_t kMaxLineLength = 4096;
// No more of the file is ever read: eight of the longest lines with their CR LF.
constexpr std::size_t kMaxHighScoreBytes = 8 * (kMaxLineLength + 2);

enum class TableFile {
  Missing,  // no file yet: a record makes one
  Ready,    // read, and may be replaced
  Locked,   // there, but unreadable, not a regular file or read-only: never replaced
};

// Reads the table into hs_lines; a missing file, or missing lines, read as empty. Only a
// regular file is read, never more than kMaxHighScoreBytes of it, and a FIFO or device never
// blocks. A Locked file's reason goes to stderr.
TableFile read_high_score_file();

// Splits the file's bytes into eight lines in hs_lines and unscrambles them. A line ends at
// LF, with any CRs just before it dropped; leading blanks are skipped. Any bytes are safe.
void read_high_score_bytes(std::string_view bytes);

// The permission check of the reader (access(2) by default). Root passes every check, so
// tests stand in one that honours the mode bits.
extern int (*high_score_access)(const char* path, int mode);

// Scrambles a copy of hs_lines[1..8] and saves it (system/safe_save.h): written aside and
// renamed over the table, or, where no new file can be made beside it, rewritten in place. A
// link's target is saved. True when the new table is on disk; otherwise the reason goes to
// stderr and the old table reads back whole.
bool write_high_score_file();

// How a game saves its record: apply changes hs_lines, and the table goes back to disk. Under
// the table's lock the file is read again first (another game may have saved meanwhile), so
// apply sees the table as it now is. Through the platform seam: a recording carries the table
// as saved, and a replay serves it. Afterwards hs_lines holds the table as it stands; true
// when it is on disk.
bool save_high_score_change(void (*apply)(void* context), void* context);

// The table's file with its links followed: the folder a save locks and writes into.
std::string high_score_target();

// The printable characters (32..126) of a line, at most what fits across the screen.
std::size_t printable_text(std::string_view line, char* out, std::size_t capacity);
