#include <sys/stat.h>

#include <cfloat>
#include <chrono>
#include <cmath>
#include <cstring>
#include <csignal>
#include <fstream>
#include <random>
#include <version>
#ifdef __cpp_lib_to_chars
#include <charconv>
#endif

#include "files/high_score_file.h"
#include "files/score_text.h"
#include "screens/screens_test_support.h"
#include "system/safe_save.h"

using namespace screens_test;

namespace {

using Lines = std::vector<std::string>;


void put_file(const char* path, const std::string& bytes) {
  std::filesystem::create_directories("data");
  std::ofstream(path, std::ios::binary) << bytes;
}
// A scrambled line built independently of the game's code: byte + key byte, mod 256, the key
// restarting on every line.
std::string scrambled(std::string_view plain) {
  std::string out;
  for (std::size_t i = 0; i < plain.size(); ++i) out.push_back(static_cast<char>(plain[i] + "vantry"[i % 6]));
  return out;
}
std::string table_file(const Lines& plain_lines) {
  std::string bytes;
  for (const std::string& line : plain_lines) bytes += scrambled(line) + "\r\n";
  return bytes;
}

using HighScoreFileTest = FrontEndTest;

TEST_F(HighScoreFileTest, ScrambleAndUnscrambleRoundTripAnyBytesAndLength) {
  std::mt19937 gen(7);
  for (std::size_t length = 0; length < 40; ++length) {
    std::string line(length, '\0'), copy;
    std::generate(line.begin(), line.end(), [&] { return static_cast<char>(gen()); });
    scramble_line((copy = line).data(), length, kScrambleKey);
    EXPECT_EQ(copy, scrambled(line)) << length;
    unscramble_line(copy.data(), copy.size(), kScrambleKey);
    EXPECT_EQ(copy, line) << length;
  }
}

TEST_F(HighScoreFileTest, ScoreTextsHaveSevenDigitsAndExponentsFromTenMillion) {
  auto score_text = [](float v) { char t[kScoreTextCapacity]; return std::string(t, format_score_text(v, t)); };
  const std::pair<float, const char*> cases[] = {{0, "0"}, {-1500, "-1500"}, {9999999, "9999999"}, {10000000, "1e+07"},
                                                 {12345678, "1.234568e+07"}, {2147483647.0f, "2.147484e+09"}};
  for (const auto& [value, text] : cases) {
    EXPECT_EQ(score_text(value), text);
    EXPECT_EQ(score_text(parse_score_text(text)), text);  // reads back as written
  }
  // Reading takes the longest leading decimal number, 0 when there is none, and stays finite.
  const std::pair<const char*, float> read[] = {{"  4000", 4000}, {"1.5e3x", 1500}, {"7e+", 7}, {"nan", 0},
                                                {"1e999", FLT_MAX}};
  for (const auto& [text, value] : read) EXPECT_EQ(parse_score_text(text), value) << text;
}

#ifdef __cpp_lib_to_chars
// The texts were once written and read by the C++ library's floating to_chars and from_chars,
// which the browser's library lacks: the tables written before must read and write the same.
TEST_F(HighScoreFileTest, ScoreTextsMatchTheFloatingCharConversions) {
  std::mt19937 bits(22);
  for (int i = 0; i < 200000; ++i) {
    const std::uint32_t b = bits();
    float value;
    std::memcpy(&value, &b, sizeof value);
    if (!std::isfinite(value)) continue;
    char old_text[kScoreTextCapacity], text[kScoreTextCapacity];
    const auto old_end = std::to_chars(old_text, old_text + sizeof old_text, value, std::chars_format::general, 7).ptr;
    const std::string expected(old_text, old_end);
    ASSERT_EQ(std::string(text, format_score_text(value, text)), expected) << b;
    char digits[32];
    const std::string exact(digits, std::to_chars(digits, digits + sizeof digits, std::fabs(value)).ptr);
    float back = 0;
    std::from_chars(exact.data(), exact.data() + exact.size(), back);
    ASSERT_EQ(parse_score_text(exact), back) << exact;
  }
}
#endif

TEST_F(HighScoreFileTest, WriteLeavesEightScrambledCrLfLinesAndMakesTheFolder) {
  const Lines plain = {"ANNA", "BO", "", "", "12345678", "4000", "0", "0"};
  std::copy(plain.begin(), plain.end(), hs_lines + 1);
  ASSERT_TRUE(write_high_score_file());
  EXPECT_EQ(read_file(kHighScorePath), table_file(plain));
  EXPECT_EQ(stray_temp_files(), 0);
}

TEST_F(HighScoreFileTest, MissingShortLfOnlyAndOverlongFilesRead) {
  const std::pair<std::string, Lines> cases[] = {
      {"", Lines(8)},  // no file at all
      {table_file({"ANNA", "BO", "CY"}), {"ANNA", "BO", "CY", "", "", "", "", ""}},
      {scrambled("ANNA") + "\n" + scrambled("BO") + "\n\n\n" + scrambled("900") + "\n" + scrambled("80"),
       {"ANNA", "BO", "", "", "900", "80", "", ""}},
      // Leading blanks are skipped; a long line is cut at 4096 and its rest is not a line.
      // CR CR LF, as a text-mode copy leaves it, and a last line without its LF.
      {scrambled("ANNA") + "\r\r\n" + scrambled("BO") + "\r\r\n\r\r\n\r\n" + scrambled("900") + "\r\r\n" + scrambled("80") + "\r",
       {"ANNA", "BO", "", "", "900", "80", "", ""}},
      {" \t" + scrambled("ANNA") + "\r\n" + scrambled(std::string(10000, 'Q')) + "\r\n" + scrambled("CY") + "\r\n",
       {"ANNA", std::string(4096, 'Q'), "CY", "", "", "", "", ""}},
  };
  for (const auto& [bytes, expected] : cases) {
    std::fill(hs_lines + 1, hs_lines + 9, "stale");
    if (!bytes.empty()) put_file(kHighScorePath, bytes);
    EXPECT_EQ(read_lines(), expected);
  }
}

TEST_F(HighScoreFileTest, RandomBinaryFilesReadSafelyAndDrawOnlyPrintableText) {
  std::mt19937 gen(11);
  for (int round = 0; round < 50; ++round) {
    std::string bytes(gen() % 20000, '\0');
    std::generate(bytes.begin(), bytes.end(), [&] { return static_cast<char>(gen()); });
    put_file(kHighScorePath, bytes);
    for (const std::string& line : read_lines()) {
      char shown[80];
      const std::size_t n = printable_text(line, shown, sizeof shown);
      ASSERT_TRUE(line.size() <= 4096 && n <= sizeof shown && std::isfinite(parse_score_text(line)));
      ASSERT_TRUE(std::all_of(shown, shown + n, [](char c) { return c >= 32 && c <= 126; }));
    }
  }
}

// Save steps that fail the n-th step (every temporary file, write, sync and cut counts), as a
// full disk does after writing part of what it was given, or stop there as a kill would.
enum class Fault { Fail, HalfWritten, Killed };
struct Killed {};
int steps_until_fault = 0;
Fault fault = Fault::Fail;
bool in_place = false;

bool fault_now() {
  if (--steps_until_fault != 0) return false;
  if (fault == Fault::Killed) throw Killed{};
  errno = ENOSPC;
  return true;
}
const SaveSteps kFaultySteps = {
    [](char* name, int flags) { return in_place ? (errno = EACCES, -1) : fault_now() ? -1 : mkostemp(name, flags); },
    [](int fd, const void* bytes, std::size_t size, off_t at) -> ssize_t {
      if (!fault_now()) return pwrite(fd, bytes, size, at);
      if (fault == Fault::HalfWritten) (void)!pwrite(fd, bytes, size / 2, at);
      return -1;
    },
    [](int fd) { return fault_now() ? -1 : fsync(fd); },
    [](int fd, off_t length) { return fault_now() ? -1 : ftruncate(fd, length); }};

TEST_F(HighScoreFileTest, AFaultOrAKillAtAnyStepOfASaveLeavesTheOldTableOrTheNewOneWhole) {
  const Lines long_table = {"ANNABELL", "BO", "CYRANO", "DEE", "12345678", "4000", "300", "20"};
  const Lines short_table = {"Z", "", "", "", "9", "0", "0", "0"};
  save_steps = kFaultySteps;
  const std::unique_ptr<void, void (*)(void*)> restore(&save_steps, [](void*) { save_steps = {mkostemp, pwrite, fsync, ftruncate}; });
  int checked = 0;
  for (bool place : {false, true})
    for (Fault how : {Fault::Fail, Fault::HalfWritten, Fault::Killed})
      for (const auto& [before, after] : {std::pair(long_table, short_table), std::pair(short_table, long_table)})
        for (int step = 1;; ++step) {
          std::filesystem::remove_all(kHighScoreFolder);  // and what a kill left in it
          put_file(kHighScorePath, table_file(before));
          std::copy(after.begin(), after.end(), hs_lines + 1);
          std::tie(steps_until_fault, fault, in_place) = std::tuple(step, how, place);
          bool saved = false;
          try {
            saved = write_high_score_file();
          } catch (const Killed&) {
          }
          const Lines now = read_lines();
          ASSERT_TRUE(now == before || now == after) << step << " in place " << place;
          ASSERT_TRUE(!saved || now == after) << step << " in place " << place;  // a save claimed is there
          if (how != Fault::Killed) {
            ASSERT_EQ(stray_temp_files(), 0) << step;
          }
          ++checked;
          if (steps_until_fault > 0) break;  // the save ended before this step: all were tried
        }
  EXPECT_GT(checked, 40);
}

TEST_F(HighScoreFileTest, ASaveFollowsALinkAndKeepsTheTablesModeAndGroup) {
  std::filesystem::create_directories("shared");
  put_file("shared/hs.dat", table_file(Lines(8, "OLD")));
  ASSERT_EQ(chmod("shared/hs.dat", 0664), 0);
  ASSERT_EQ(chown("shared/hs.dat", static_cast<uid_t>(-1), 65534), 0);
  std::filesystem::create_symlink("../shared/hs.dat", kHighScorePath);
  std::fill(hs_lines + 1, hs_lines + 9, "NEW");
  ASSERT_TRUE(write_high_score_file());
  EXPECT_TRUE(std::filesystem::is_symlink(kHighScorePath));
  EXPECT_EQ(read_file("shared/hs.dat"), table_file(Lines(8, "NEW")));
  struct stat st {};
  ASSERT_EQ(stat("shared/hs.dat", &st), 0);
  EXPECT_EQ(std::pair(st.st_mode & 07777, st.st_gid), std::pair(0664u, 65534u));
  EXPECT_TRUE(std::filesystem::is_empty("data") || std::filesystem::exists(kHighScorePath));
}

TEST_F(HighScoreFileTest, OnlyARegularFileIsReadAndNoMoreThanEightLongLinesOfIt) {
  alarm(20);  // a blocking open or an endless line ends the test instead of hanging it
  std::filesystem::create_directories("data");
  const auto locked_and_empty = [] { return read_high_score_file() == TableFile::Locked && read_lines() == Lines(8); };
  ASSERT_EQ(mkfifo(kHighScorePath, 0644), 0);
  EXPECT_TRUE(locked_and_empty());
  std::filesystem::remove(kHighScorePath);
  std::filesystem::create_symlink("/dev/zero", kHighScorePath);
  EXPECT_TRUE(locked_and_empty());
  std::filesystem::remove(kHighScorePath);
  std::filesystem::create_directory(kHighScorePath);
  EXPECT_TRUE(locked_and_empty());
  std::filesystem::remove(kHighScorePath);
  // 2 GB of holes behind a good table: only the table's end of it is read.
  put_file(kHighScorePath, table_file({"ANNA", "", "", "", "500", "0", "0"}));
  std::filesystem::resize_file(kHighScorePath, std::uintmax_t{2} << 30);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(read_high_score_file(), TableFile::Ready);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
  EXPECT_EQ(hs_lines[1], "ANNA");
  EXPECT_EQ(hs_lines[8].size(), kMaxLineLength);  // the holes after the seventh line
  alarm(0);
}

TEST_F(HighScoreFileTest, UnreadableAndReadOnlyTablesAreLockedAndAReadOnlyOneStillShows) {
  high_score_access = owner_access;
  put_file(kHighScorePath, table_file({"ANNA", "", "", "", "500", "0", "0", "0"}));
  std::filesystem::permissions(kHighScorePath, std::filesystem::perms::none);
  EXPECT_EQ(read_high_score_file(), TableFile::Locked);
  EXPECT_EQ(read_lines(), Lines(8));
  std::filesystem::permissions(kHighScorePath, std::filesystem::perms::owner_read);
  EXPECT_EQ(read_high_score_file(), TableFile::Locked);
  EXPECT_EQ(read_lines(), (Lines{"ANNA", "", "", "", "500", "0", "0", "0"}));
  std::filesystem::permissions(kHighScorePath, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  EXPECT_EQ(read_high_score_file(), TableFile::Ready);
  high_score_access = ::access;
  std::filesystem::remove(kHighScorePath);
  EXPECT_EQ(read_high_score_file(), TableFile::Missing);
}

TEST_F(HighScoreFileTest, WithoutATemporaryFileTheTableIsRewrittenInPlace) {
  put_file(kHighScorePath, table_file(Lines(8, "OLDER")));
  save_steps.make_temp = [](char*, int) { return errno = ENOSPC, -1; };  // no inode left
  std::fill(hs_lines + 1, hs_lines + 9, "NEW");
  EXPECT_TRUE(write_high_score_file());
  EXPECT_EQ(read_file(kHighScorePath), table_file(Lines(8, "NEW")));
  EXPECT_EQ(hs_lines[1], "NEW");  // the lines in memory stay plain
  save_steps.make_temp = mkostemp;
  // No folder can be made where a file stands: nothing is written and nothing is claimed.
  std::filesystem::remove_all(kHighScoreFolder);
  std::ofstream{kHighScoreFolder};
  EXPECT_FALSE(write_high_score_file());
}

}  // namespace
