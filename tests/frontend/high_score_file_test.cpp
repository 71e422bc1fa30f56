#include <cfloat>
#include <fstream>
#include <random>

#include "frontend/high_score_file.h"
#include "frontend/score_text.h"
#include "frontend_test_support.h"

using namespace frontend_test;

namespace {

using Lines = std::vector<std::string>;

// The fixture keeps the table in the working folder.
constexpr const char* kHighScorePath = "data/hs.dat";
constexpr const char* kHighScoreTempPath = "data/hs.dat.tmp";

std::string file_bytes(const char* path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
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
    std::ranges::generate(line, [&] { return static_cast<char>(gen()); });
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

TEST_F(HighScoreFileTest, WriteLeavesEightScrambledCrLfLinesAndMakesTheFolder) {
  const Lines plain = {"ANNA", "BO", "", "", "12345678", "4000", "0", "0"};
  std::ranges::copy(plain, hs_lines + 1);
  ASSERT_TRUE(write_high_score_file());
  EXPECT_EQ(file_bytes(kHighScorePath), table_file(plain));
  EXPECT_FALSE(std::filesystem::exists(kHighScoreTempPath));
}

TEST_F(HighScoreFileTest, MissingShortLfOnlyAndOverlongFilesRead) {
  const std::pair<std::string, Lines> cases[] = {
      {"", Lines(8)},  // no file at all
      {table_file({"ANNA", "BO", "CY"}), {"ANNA", "BO", "CY", "", "", "", "", ""}},
      {scrambled("ANNA") + "\n" + scrambled("BO") + "\n\n\n" + scrambled("900") + "\n" + scrambled("80"),
       {"ANNA", "BO", "", "", "900", "80", "", ""}},
      // Leading blanks are skipped; a long line is cut at 4096 and its rest is not a line.
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
    std::ranges::generate(bytes, [&] { return static_cast<char>(gen()); });
    put_file(kHighScorePath, bytes);
    for (const std::string& line : read_lines()) {
      char shown[80];
      const std::size_t n = printable_text(line, shown, sizeof shown);
      ASSERT_TRUE(line.size() <= 4096 && n <= sizeof shown && std::isfinite(parse_score_text(line)));
      ASSERT_TRUE(std::all_of(shown, shown + n, [](char c) { return c >= 32 && c <= 126; }));
    }
  }
}

TEST_F(HighScoreFileTest, AnInterruptedWriteLeavesTheOldTableReadable) {
  const std::string old_bytes = table_file({"ANNA", "", "", "", "500", "0", "0", "0"});
  put_file(kHighScorePath, old_bytes);
  for (WriteFault fault : {WriteFault::CrashBeforeRename, WriteFault::DiskFull}) {
    std::fill(hs_lines + 1, hs_lines + 9, "ZED");
    EXPECT_FALSE(write_high_score_file(fault));
    EXPECT_EQ(file_bytes(kHighScorePath), old_bytes);
    // What a crash leaves behind; a full disk cleans up after itself.
    EXPECT_EQ(std::filesystem::exists(kHighScoreTempPath), fault == WriteFault::CrashBeforeRename);
  }
  // The stray temporary file from the crash does not stand in the way of the next write.
  std::fill(hs_lines + 1, hs_lines + 9, "ZED");
  EXPECT_TRUE(write_high_score_file());
  EXPECT_EQ(file_bytes(kHighScorePath), table_file(Lines(8, "ZED")));
  EXPECT_FALSE(std::filesystem::exists(kHighScoreTempPath));
}

}  // namespace
