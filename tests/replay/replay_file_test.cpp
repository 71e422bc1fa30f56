// Replay files: what is written reads back bit for bit, and nothing damaged or foreign reads
// as a recording.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <tuple>

#include "replay/replay_format.h"
#include "replay/replay_writer.h"
#include "tools/runner_process.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::uint8_t> bytes_of(const fs::path& path) {
  const std::string s = read_file(path);
  return {s.begin(), s.end()};
}

void write_bytes(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
}

bool same_bits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// The window's clock: whole seconds plus a nanosecond counter's fraction.
double window_clock(std::uint64_t counter) {
  return static_cast<double>(counter / 1000000000) + static_cast<double>(counter % 1000000000) / 1e9;
}

struct Sample {
  fs::path dir, file;
  std::vector<double> clocks;
};

// A small recording with each kind of record, clocks of the headless, window and any kind.
Sample write_sample(const std::string& name) {
  Sample s{fresh_temp_dir(name), {}, {}};
  s.file = s.dir / "r.tvr";
  ReplayWriter w;
  EXPECT_EQ(w.open(s.file.string(), 172), "");
  for (std::int64_t us : {0, 0, 24400, 48800, 1000000, 123456789}) s.clocks.push_back(1000.0 + static_cast<double>(us) * 1e-6);
  for (std::uint64_t ns : {86400123456789ull, 86400123456789ull, 86400147856001ull, 86401000000000ull})
    s.clocks.push_back(window_clock(ns));
  s.clocks.push_back(86402.123456789012);  // neither
  s.clocks.push_back(86402.2);
  w.opened(0, true);
  w.reading(0, ReadingKind::HighScores, 2, "\0tbl", 4);
  std::uint64_t gap = 0;
  for (double c : s.clocks) w.clock(gap++ * 7, c);  // gaps past the tag's own room too
  const std::vector<ReplayByteChange> changes = {{0, 1}, {5, 0}, {6, 255}, {171, 9}};
  w.input(3, changes);
  w.opened(1, false);
  w.checkpoint(2, 0x0123456789ABCDEFull, 0x1111222233334444ull);
  w.end(40, -3, true, 0xFEDCBA9876543210ull, 20392);
  EXPECT_EQ(w.finish(), "");
  return s;
}

TEST(ReplayFile, EveryRecordReadsBackExactlyAndClocksTakeTheirCompactForms) {
  const Sample s = write_sample("replay_round_trip");
  EXPECT_FALSE(fs::exists(s.file.string() + ".part"));
  const ReplayParse parse = load_replay_file(s.file.string());
  ASSERT_EQ(parse.error, "");
  const ReplayData& d = parse.data;
  EXPECT_EQ(std::pair(d.state_size, d.game_version), std::pair(172u, std::string(kReplayGameVersion)));
  ASSERT_EQ(d.records.size(), s.clocks.size() + 6);
  using K = ReplayKind;
  std::vector<K> kinds;
  for (const ReplayRecord& r : d.records) kinds.push_back(r.kind);
  // The headless runner's readings count microseconds from the first, a reading again and a
  // step again take the tag alone; the window's steps take a compact form too (which one the
  // writer finds first); the last two neither.
  EXPECT_EQ(std::vector<K>(kinds.begin(), kinds.begin() + 8),
            (std::vector<K>{K::OpenOk, K::Reading, K::ClockRaw, K::ClockSame, K::ClockMicro, K::ClockRepeat, K::ClockMicro,
                            K::ClockMicro}));
  EXPECT_EQ(kinds[9], K::ClockSame);
  for (std::size_t i = 10; i <= 11; ++i) EXPECT_NE(kinds[i], K::ClockRaw) << i;
  for (std::size_t i = 0; i < s.clocks.size(); ++i)
    EXPECT_TRUE(same_bits(d.records[2 + i].clock, s.clocks[i]) && d.records[2 + i].gap == i * 7) << i;
  const ReplayRecord& read = d.records[1];
  EXPECT_EQ(std::tuple(read.reading, read.outcome, std::string(d.reading_bytes.data() + read.first_byte, read.size)),
            std::tuple(ReadingKind::HighScores, 2, std::string("\0tbl", 4)));
  const ReplayRecord& input = d.records[2 + s.clocks.size()];
  std::vector<std::pair<int, int>> changes;
  for (std::uint32_t i = 0; i < input.changes; ++i)
    changes.push_back({d.changes[input.first_change + i].offset, d.changes[input.first_change + i].value});
  EXPECT_EQ(std::pair(input.kind, input.gap), std::pair(K::Input, std::uint64_t{3}));
  EXPECT_EQ(changes, (std::vector<std::pair<int, int>>{{0, 1}, {5, 0}, {6, 255}, {171, 9}}));
  EXPECT_EQ(d.records[3 + s.clocks.size()].kind, K::OpenFailed);
  EXPECT_EQ(std::pair(d.records[4 + s.clocks.size()].digest, d.records[4 + s.clocks.size()].sound),
            std::pair(std::uint64_t{0x0123456789ABCDEFull}, std::uint64_t{0x1111222233334444ull}));
  EXPECT_FALSE(d.cut_short);
  const ReplayRecord& end = d.records.back();
  EXPECT_EQ(std::tuple(end.kind, end.gap, end.exit_code, end.inside_call, end.digest, end.frames),
            std::tuple(K::End, std::uint64_t{40}, -3, true, 0xFEDCBA9876543210ull, std::int64_t{20392}));
  fs::remove_all(s.dir);
}

// A cut file reads as cut short up to its last checkpoint (or, with none, is refused as cut
// short); a changed byte is refused, or at most shortens a chunk's length into a cut.
TEST(ReplayFile, CutFilesPlayToTheirLastCheckpointAndChangedBytesAreRefused) {
  const Sample s = write_sample("replay_damage");
  const std::vector<std::uint8_t> good = bytes_of(s.file);
  const ReplayParse whole = parse_replay(good);
  ASSERT_EQ(whole.error, "");
  const std::size_t through_checkpoint = whole.data.records.size() - 1;  // all but the end
  std::size_t cut_ones = 0;
  for (std::size_t n = 0; n < good.size(); ++n) {
    const std::vector<std::uint8_t> cut(good.begin(), good.begin() + static_cast<long>(n));
    for (bool sum : {true, false}) {
      const ReplayParse p = parse_replay(cut, sum);
      if (!p.error.empty()) {
        EXPECT_EQ(p.error.find("damaged"), std::string::npos) << "cut to " << n << ": " << p.error;
        continue;
      }
      ++cut_ones;
      EXPECT_TRUE(p.data.cut_short) << "cut to " << n;
      EXPECT_EQ(p.data.records.size(), through_checkpoint) << "cut to " << n;
      EXPECT_EQ(p.data.records.back().kind, ReplayKind::Checkpoint);
    }
  }
  EXPECT_GT(cut_ones, 0u);
  const long header = 13 + static_cast<long>(std::strlen(kReplayGameVersion));
  EXPECT_EQ(parse_replay(std::vector<std::uint8_t>(good.begin(), good.begin() + header + 2)).error,
            "cut short before its first checkpoint: there is nothing to play");
  // A chunk may also end because it is full; a cut after it still ends at the checkpoint.
  {
    ReplayWriter w;
    ASSERT_EQ(w.open((s.dir / "full.tvr").string(), 8), "");
    w.checkpoint(0, 1, 2);
    const std::string table(kReplayMaxReadingBytes, 'x');
    for (int i = 0; i < 2; ++i) w.reading(0, ReadingKind::HighScores, 1, table.data(), table.size());
    w.end(0, 0, false, 0, 0);
    ASSERT_EQ(w.finish(), "");
    const std::vector<std::uint8_t> full = bytes_of(s.dir / "full.tvr");
    const ReplayParse p = parse_replay(std::vector<std::uint8_t>(full.begin(), full.end() - 100));
    ASSERT_EQ(p.error, "");
    EXPECT_EQ(p.data.records.size(), 1u);
  }
  for (std::size_t i = 0; i < good.size(); ++i) {
    std::vector<std::uint8_t> bad = good;
    bad[i] ^= 0x10;
    const ReplayParse p = parse_replay(bad);
    EXPECT_TRUE(!p.error.empty() || p.data.cut_short) << "byte " << i << " changed";
  }
  std::vector<std::uint8_t> longer = good;
  longer.push_back(0);
  EXPECT_NE(parse_replay(longer).error, "");
  fs::remove_all(s.dir);
}

TEST(ReplayFile, HeaderProblemsAreNamed) {
  const Sample s = write_sample("replay_header");
  std::vector<std::uint8_t> bytes = bytes_of(s.file);
  EXPECT_EQ(parse_replay({}).error, "the file is empty");
  const std::string text = "# a key script\n100 tap ENTER\n";
  EXPECT_EQ(parse_replay({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}).error,
            "not a replay file (no TVREPLAY header)");
  EXPECT_EQ(parse_replay(bytes).data.format, 4);
  bytes[8] = 5;  // a later format: named as such, not as damage
  EXPECT_EQ(parse_replay(bytes).error, "replay format version 5, this game reads versions 2 to 4");
  bytes[8] = 2;  // the same bytes, every page in the digest: still read, as format 2
  const ReplayParse format2 = parse_replay(bytes, false);
  EXPECT_EQ(std::pair(format2.error, format2.data.format), std::pair(std::string(), std::uint16_t{2}));
  bytes[8] = 1;
  EXPECT_EQ(parse_replay(bytes).error,
            "recorded in replay format 1 by an older version of the game; this one plays formats 2 to 4 only");
  fs::remove_all(s.dir);
}

TEST(ReplayFile, TheRoundsReadingsAreThereFromFormat4OnOnly) {
  const fs::path dir = fresh_temp_dir("replay_rounds");
  const fs::path file = dir / "r.tvr";
  ReplayWriter w;
  ASSERT_EQ(w.open(file.string(), 172), "");
  w.reading(0, ReadingKind::RoundStart, 2, "1", 1);
  w.reading(1, ReadingKind::Network, 2, "sent", 4);
  w.end(1, 0, false, 0, 0);
  ASSERT_EQ(w.finish(), "");
  std::vector<std::uint8_t> bytes = bytes_of(file);
  const ReplayParse parse = parse_replay(bytes);
  ASSERT_EQ(parse.error, "");
  ASSERT_EQ(parse.data.records.size(), 3u);
  EXPECT_EQ(parse.data.records[0].reading, ReadingKind::RoundStart);
  EXPECT_EQ(parse.data.records[1].reading, ReadingKind::Network);
  // A format 3 file never held them: one that does is damaged.
  bytes[8] = 3;
  EXPECT_NE(parse_replay(bytes, false).error.find("impossible reading"), std::string::npos) << parse_replay(bytes, false).error;
  fs::remove_all(dir);
}

TEST(ReplayFile, ClocksThatWouldUpsetTheGameAreRefused) {
  // Without the checksum, so that the record checks themselves are reached.
  auto one_clock_pair = [](double a, double b) {
    const fs::path dir = fresh_temp_dir("replay_clocks");
    ReplayWriter w;
    w.open((dir / "r").string(), 8);
    w.clock(0, a);
    w.clock(0, b);
    w.end(0, 0, false, 0, 0);
    w.finish();
    const std::string error = load_replay_file((dir / "r").string()).error;
    fs::remove_all(dir);
    return error;
  };
  EXPECT_EQ(one_clock_pair(1000.0, 1000.5), "");
  EXPECT_NE(one_clock_pair(1000.0, 999.0), "");      // backwards
  EXPECT_NE(one_clock_pair(1000.0, 1000.0 + 2e6), "");  // weeks ahead in one step
  EXPECT_NE(one_clock_pair(1000.0, std::numeric_limits<double>::infinity()), "");
  EXPECT_NE(one_clock_pair(std::numeric_limits<double>::quiet_NaN(), 1.0), "");
}

TEST(ReplayFile, HostileFilesEndInAMessageAtOnce) {
  const fs::path dir = fresh_temp_dir("replay_hostile");
  EXPECT_NE(load_replay_file((dir / "missing").string()).error, "");
  EXPECT_NE(load_replay_file(dir.string()).error, "");  // a folder
  fs::create_symlink("/dev/zero", dir / "zero");
  EXPECT_NE(load_replay_file((dir / "zero").string()).error, "");
  ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_NE(load_replay_file((dir / "fifo").string()).error, "");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  { std::ofstream huge(dir / "huge"); }
  fs::resize_file(dir / "huge", kReplayMaxFileBytes + 1);  // sparse: no disk used
  const std::string error = load_replay_file((dir / "huge").string()).error;
  EXPECT_NE(error.find("larger than a replay can be"), std::string::npos) << error;
  fs::remove_all(dir);
}

TEST(ReplayFile, ARecordingWithoutItsEndNeverReplacesTheFileItWasToBecome) {
  const fs::path dir = fresh_temp_dir("replay_unfinished");
  write_bytes(dir / "r.tvr", {'o', 'l', 'd'});
  {
    ReplayWriter w;
    ASSERT_EQ(w.open((dir / "r.tvr").string(), 8), "");
    w.clock(0, 1.0);
    EXPECT_NE(w.finish(), "");
  }
  EXPECT_EQ(read_file(dir / "r.tvr"), "old");
  fs::remove_all(dir);
}

}  // namespace
