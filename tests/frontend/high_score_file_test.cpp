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

// A scrambled line built independently of the game's code: byte + key byte, mod 256.
std::string scrambled(std::string_view plain) {
  const char* key = "vantry";
  std::string out;
  for (std::size_t i = 0; i < plain.size(); ++i)
    out.push_back(static_cast<char>((static_cast<unsigned char>(plain[i]) + key[i % 6]) % 256));
  return out;
}

std::string table_file(const std::vector<std::string>& plain_lines) {
  std::string bytes;
  for (const std::string& line : plain_lines) bytes += scrambled(line) + "\r\n";
  return bytes;
}

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
    EXPECT_EQ(copy, scrambled(line));
    unscramble_line(copy.data(), copy.size(), kScrambleKey);
    EXPECT_EQ(copy, line) << length;
  }
  // The key restarts on every line, so equal lines scramble alike: "AAAAAAA" -> A+v, A+a, ...
  std::string a = "AAAAAAA", b = "AAAAAAA";
  scramble_line(a.data(), a.size(), kScrambleKey);
  scramble_line(b.data(), b.size(), kScrambleKey);
  EXPECT_EQ(a, b);
  EXPECT_EQ(static_cast<unsigned char>(a[0]), 65 + 118);
  EXPECT_EQ(static_cast<unsigned char>(a[6]), 65 + 118);
  EXPECT_EQ(static_cast<unsigned char>(a[5]), 65 + 121);
  std::string same = "keep";
  scramble_line(same.data(), same.size(), "");
  EXPECT_EQ(same, "keep");
}

TEST_F(HighScoreFileTest, ScoreTextsHaveSevenDigitsAndExponentsFromTenMillion) {
  EXPECT_EQ(score_text(0), "0");
  EXPECT_EQ(score_text(4000), "4000");
  EXPECT_EQ(score_text(-1500), "-1500");
  EXPECT_EQ(score_text(9999999), "9999999");
  EXPECT_EQ(score_text(10000000), "1e+07");
  EXPECT_EQ(score_text(12345678), "1.234568e+07");
  EXPECT_EQ(score_text(static_cast<float>(16777217)), "1.677722e+07");
  EXPECT_EQ(score_text(2147483647.0f), "2.147484e+09");
  // Every text the game writes reads back as the number written, to seven digits.
  for (float v : {0.0f, 1.0f, 4000.0f, 9999999.0f, 10000000.0f, 12345678.0f, -42.0f, 3e38f}) {
    const float back = parse_score_text(score_text(v));
    EXPECT_EQ(score_text(back), score_text(v));
    if (std::fabs(v) < 1e7f) {
      EXPECT_EQ(back, v);
    }
  }
}

TEST_F(HighScoreFileTest, ScoreTextsReadTheLongestLeadingDecimalNumber) {
  EXPECT_EQ(parse_score_text("  4000"), 4000.0f);
  EXPECT_EQ(parse_score_text("12abc"), 12.0f);
  EXPECT_EQ(parse_score_text("1.5e3x"), 1500.0f);
  EXPECT_EQ(parse_score_text("1.234568e+07"), 12345680.0f);
  EXPECT_EQ(parse_score_text("7e"), 7.0f);
  EXPECT_EQ(parse_score_text("7e+"), 7.0f);
  EXPECT_EQ(parse_score_text("-25"), -25.0f);
  EXPECT_EQ(parse_score_text("+25"), 25.0f);
  EXPECT_EQ(parse_score_text(".5"), 0.5f);
  EXPECT_EQ(parse_score_text(""), 0.0f);
  EXPECT_EQ(parse_score_text("abc"), 0.0f);
  EXPECT_EQ(parse_score_text("-"), 0.0f);
  EXPECT_EQ(parse_score_text("0x10"), 0.0f);  // no hexadecimal
  EXPECT_EQ(parse_score_text("inf"), 0.0f);
  EXPECT_EQ(parse_score_text("nan"), 0.0f);
  EXPECT_EQ(parse_score_text("1e999"), FLT_MAX);
  EXPECT_EQ(parse_score_text("1e-999"), 0.0f);
}

TEST_F(HighScoreFileTest, WriteLeavesExactlyEightScrambledCrLfLinesAndMakesTheFolder) {
  ASSERT_FALSE(std::filesystem::exists("data"));
  const std::vector<std::string> plain = {"ANNA", "BO", "", "", "12345678", "4000", "0", "0"};
  for (int i = 1; i <= 8; ++i) hs_lines[i] = plain[i - 1];
  ASSERT_TRUE(write_high_score_file());
  EXPECT_EQ(file_bytes(kHighScorePath), table_file(plain));
  EXPECT_FALSE(std::filesystem::exists(kHighScoreTempPath));
  read_high_score_file();
  for (int i = 1; i <= 8; ++i) EXPECT_EQ(hs_lines[i], plain[i - 1]) << i;
}

TEST_F(HighScoreFileTest, MissingShortAndLfOnlyFilesReadWithEmptyLines) {
  for (int i = 1; i <= 8; ++i) hs_lines[i] = "stale";
  read_high_score_file();  // no file at all
  for (int i = 1; i <= 8; ++i) EXPECT_EQ(hs_lines[i], "") << i;

  put_file(kHighScorePath, table_file({"ANNA", "BO", "CY"}));
  read_high_score_file();
  EXPECT_EQ(hs_lines[3], "CY");
  for (int i = 4; i <= 8; ++i) EXPECT_EQ(hs_lines[i], "") << i;

  put_file(kHighScorePath, scrambled("ANNA") + "\n" + scrambled("BO") + "\n\n\n" +
                               scrambled("900") + "\n" + scrambled("80"));
  read_high_score_file();
  EXPECT_EQ(hs_lines[1], "ANNA");
  EXPECT_EQ(hs_lines[2], "BO");
  EXPECT_EQ(hs_lines[5], "900");
  EXPECT_EQ(hs_lines[6], "80");
  EXPECT_EQ(hs_lines[7], "");
}

TEST_F(HighScoreFileTest, LeadingSpacesAreSkippedAndLongLinesCutAt4096) {
  std::string long_line(10000, static_cast<char>(0xB7));  // scrambled 'A's and others
  put_file(kHighScorePath, " \t" + scrambled("ANNA") + "\r\n" + long_line + "\r\n" +
                               scrambled("CY") + "\r\n");
  read_high_score_file();
  EXPECT_EQ(hs_lines[1], "ANNA");
  EXPECT_EQ(hs_lines[2].size(), kMaxLineLength);
  EXPECT_EQ(hs_lines[3], "CY");  // the rest of the long line is not taken as a line
}

TEST_F(HighScoreFileTest, RandomBinaryFilesReadSafelyAndDrawOnlyPrintableText) {
  std::mt19937 gen(11);
  for (int round = 0; round < 50; ++round) {
    std::string bytes(gen() % 20000, '\0');
    for (char& c : bytes) c = static_cast<char>(gen() & 0xFF);
    put_file(kHighScorePath, bytes);
    read_high_score_file();
    for (int i = 1; i <= 8; ++i) {
      ASSERT_LE(hs_lines[i].size(), kMaxLineLength);
      char shown[80];
      const std::size_t n = printable_text(hs_lines[i], shown, sizeof shown);
      ASSERT_LE(n, sizeof shown);
      for (std::size_t k = 0; k < n; ++k) ASSERT_TRUE(shown[k] >= 32 && shown[k] <= 126);
      const float v = parse_score_text(hs_lines[i]);
      ASSERT_TRUE(std::isfinite(v));
    }
  }
}

TEST_F(HighScoreFileTest, AnInterruptedWriteLeavesTheOldTableReadable) {
  const std::vector<std::string> old_plain = {"ANNA", "", "", "", "500", "0", "0", "0"};
  const std::string old_bytes = table_file(old_plain);
  put_file(kHighScorePath, old_bytes);

  for (int i = 1; i <= 8; ++i) hs_lines[i] = "ZED";
  EXPECT_FALSE(write_high_score_file(WriteFault::CrashBeforeRename));
  EXPECT_EQ(file_bytes(kHighScorePath), old_bytes);
  EXPECT_TRUE(std::filesystem::exists(kHighScoreTempPath));  // what a crash leaves behind
  read_high_score_file();
  EXPECT_EQ(hs_lines[1], "ANNA");
  EXPECT_EQ(hs_lines[5], "500");

  for (int i = 1; i <= 8; ++i) hs_lines[i] = "ZED";
  EXPECT_FALSE(write_high_score_file(WriteFault::DiskFull));
  EXPECT_EQ(file_bytes(kHighScorePath), old_bytes);
  EXPECT_FALSE(std::filesystem::exists(kHighScoreTempPath));

  // A stray temporary file from a crash does not stand in the way of the next write.
  put_file(kHighScoreTempPath, "junk");
  for (int i = 1; i <= 8; ++i) hs_lines[i] = "ZED";
  EXPECT_TRUE(write_high_score_file());
  read_high_score_file();
  EXPECT_EQ(hs_lines[8], "ZED");
  EXPECT_FALSE(std::filesystem::exists(kHighScoreTempPath));
}

TEST_F(HighScoreFileTest, AFolderInTheWayFailsTheWriteQuietly) {
  std::filesystem::create_directories(kHighScorePath);  // "data/hs.dat" is a folder
  for (int i = 1; i <= 8; ++i) hs_lines[i] = "X";
  EXPECT_FALSE(write_high_score_file());
  EXPECT_FALSE(std::filesystem::exists(kHighScoreTempPath));
  read_high_score_file();
  EXPECT_EQ(hs_lines[1], "");
}

}  // namespace
