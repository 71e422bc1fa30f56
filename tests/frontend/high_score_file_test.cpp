#include <cfloat>
#include <fstream>
#include <iterator>
#include <random>

#include "frontend/high_score_file.h"
#include "frontend/high_scores.h"
#include "frontend/score_text.h"
#include "frontend_test_support.h"

using namespace frontend_test;

namespace {

std::string file_bytes(const char* path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void put_file(const char* path, const std::string& bytes) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

// A scrambled line built independently of the game's code: byte + key byte, mod 256, the key
// restarting on every line.
std::string scrambled(std::string_view plain) {
  std::string out;
  for (std::size_t i = 0; i < plain.size(); ++i) out.push_back(static_cast<char>(plain[i] + "vantry"[i % 6]));
  return out;
}

std::string table_file(const std::vector<std::string>& plain_lines) {
  std::string bytes;
  for (const std::string& line : plain_lines) bytes += scrambled(line) + "\r\n";
  return bytes;
}

std::vector<std::string> lines() { return {hs_lines + 1, hs_lines + 9}; }
void fill_lines(const char* text) { std::fill(hs_lines + 1, hs_lines + 9, text); }

std::string score_text(float v) {
  char text[kScoreTextCapacity];
  return std::string(text, format_score_text(v, text));
}

using HighScoreFileTest = FrontEndTest;

TEST_F(HighScoreFileTest, ScrambleAndUnscrambleRoundTripAnyBytesAndLength) {
  std::mt19937 gen(7);
  for (std::size_t length = 0; length < 40; ++length) {
    std::string line(length, '\0');
    for (char& c : line) c = static_cast<char>(gen() & 0xFF);
    std::string copy = line;
    scramble_line(copy.data(), copy.size(), kScrambleKey);
    EXPECT_EQ(copy, scrambled(line)) << length;
    unscramble_line(copy.data(), copy.size(), kScrambleKey);
    EXPECT_EQ(copy, line) << length;
  }
}

TEST_F(HighScoreFileTest, ScoreTextsHaveSevenDigitsAndExponentsFromTenMillion) {
  const std::pair<float, const char*> cases[] = {
      {0, "0"}, {-1500, "-1500"}, {9999999, "9999999"}, {10000000, "1e+07"}, {12345678, "1.234568e+07"},
      {16777217.0f, "1.677722e+07"}, {2147483647.0f, "2.147484e+09"}};
  for (const auto& [value, text] : cases) {
    EXPECT_EQ(score_text(value), text);
    EXPECT_EQ(score_text(parse_score_text(text)), text);  // reads back as written
  }
  // Reading takes the longest leading decimal number, 0 when there is none.
  const std::pair<const char*, float> read[] = {
      {"  4000", 4000}, {"12abc", 12}, {"1.5e3x", 1500}, {"1.234568e+07", 12345680}, {"7e+", 7}, {"+25", 25},
      {".5", 0.5f}, {"", 0}, {"-", 0}, {"0x10", 0}, {"inf", 0}, {"nan", 0}, {"1e999", FLT_MAX}, {"1e-999", 0}};
  for (const auto& [text, value] : read) EXPECT_EQ(parse_score_text(text), value) << text;
}

TEST_F(HighScoreFileTest, WriteLeavesEightScrambledCrLfLinesAndMakesTheFolder) {
  const std::vector<std::string> plain = {"ANNA", "BO", "", "", "12345678", "4000", "0", "0"};
  std::copy(plain.begin(), plain.end(), hs_lines + 1);
  ASSERT_TRUE(write_high_score_file());
  EXPECT_EQ(file_bytes(kHighScorePath), table_file(plain));
  EXPECT_FALSE(std::filesystem::exists(kHighScoreTempPath));
}

TEST_F(HighScoreFileTest, MissingShortLfOnlyAndOverlongFilesRead) {
  const std::pair<std::string, std::vector<std::string>> cases[] = {
      {"", {"", "", "", "", "", "", "", ""}},  // no file at all
      {table_file({"ANNA", "BO", "CY"}), {"ANNA", "BO", "CY", "", "", "", "", ""}},
      {scrambled("ANNA") + "\n" + scrambled("BO") + "\n\n\n" + scrambled("900") + "\n" + scrambled("80"),
       {"ANNA", "BO", "", "", "900", "80", "", ""}},
      // Leading blanks are skipped; a long line is cut at 4096 and its rest is not a line.
      {" \t" + scrambled("ANNA") + "\r\n" + scrambled(std::string(10000, 'Q')) + "\r\n" + scrambled("CY") + "\r\n",
       {"ANNA", std::string(4096, 'Q'), "CY", "", "", "", "", ""}},
  };
  for (const auto& [bytes, expected] : cases) {
    fill_lines("stale");
    if (!bytes.empty()) put_file(kHighScorePath, bytes);
    read_high_score_file();
    EXPECT_EQ(lines(), expected);
  }
}

TEST_F(HighScoreFileTest, RandomBinaryFilesReadSafelyAndDrawOnlyPrintableText) {
  std::mt19937 gen(11);
  for (int round = 0; round < 50; ++round) {
    std::string bytes(gen() % 20000, '\0');
    for (char& c : bytes) c = static_cast<char>(gen() & 0xFF);
    put_file(kHighScorePath, bytes);
    read_high_score_file();
    for (const std::string& line : lines()) {
      ASSERT_LE(line.size(), 4096u);
      char shown[80];
      const std::size_t n = printable_text(line, shown, sizeof shown);
      ASSERT_LE(n, sizeof shown);
      ASSERT_TRUE(std::all_of(shown, shown + n, [](char c) { return c >= 32 && c <= 126; }));
      ASSERT_TRUE(std::isfinite(parse_score_text(line)));
    }
  }
}

TEST_F(HighScoreFileTest, AnInterruptedWriteLeavesTheOldTableReadable) {
  const std::string old_bytes = table_file({"ANNA", "", "", "", "500", "0", "0", "0"});
  put_file(kHighScorePath, old_bytes);
  for (WriteFault fault : {WriteFault::CrashBeforeRename, WriteFault::DiskFull}) {
    fill_lines("ZED");
    EXPECT_FALSE(write_high_score_file(fault));
    EXPECT_EQ(file_bytes(kHighScorePath), old_bytes);
    // What a crash leaves behind; a full disk cleans up after itself.
    EXPECT_EQ(std::filesystem::exists(kHighScoreTempPath), fault == WriteFault::CrashBeforeRename);
  }
  // A stray temporary file from a crash does not stand in the way of the next write.
  put_file(kHighScoreTempPath, "junk");
  fill_lines("ZED");
  EXPECT_TRUE(write_high_score_file());
  EXPECT_EQ(file_bytes(kHighScorePath), table_file(std::vector<std::string>(8, "ZED")));
  EXPECT_FALSE(std::filesystem::exists(kHighScoreTempPath));
}

}  // namespace
