// Recording a game and playing it back: the same game, the same pages, the same table; and a
// recording that was tampered with never plays as if it were sound.
#include <xxhash.h>

#include "e2e/e2e_support.h"
#include "platform/replay_format.h"

namespace fs = std::filesystem;

namespace {

std::string field(const std::string& json, const std::string& key) {
  const std::size_t at = json.find("\"" + key + "\":");
  if (at == std::string::npos) return "";
  const std::size_t start = at + key.size() + 3;
  return json.substr(start, json.find_first_of(",}", start) - start);
}

TEST(Replay, AnAutoplayedRoundPlaysBackToTheSameGameAndTable) {
  const fs::path dir = fresh_temp_dir("replay_round");
  fs::create_directories(dir / "rec" / "data");
  fs::create_directories(dir / "play" / "data");
  const std::string file = (dir / "round.tvr").string();
  const ProcessResult rec = run_headless_bin("--autoplay --clock-origin 1548 --workdir '" + (dir / "rec").string() +
                                             "' --record '" + file + "'");
  ASSERT_EQ(rec.exit_code, 0) << rec.err;
  // Recording made no allocation while the round ran, and a whole round fits in 256 KB.
  EXPECT_EQ(field(rec.out, "alloc_count_in_rounds"), "0");
  EXPECT_LE(fs::file_size(file), 256u * 1024u);
  const ProcessResult play = run_headless_bin("--play '" + file + "' --workdir '" + (dir / "play").string() + "'");
  ASSERT_EQ(play.exit_code, 0) << play.err;
  EXPECT_EQ(field(rec.out, "phase"), "8");
  EXPECT_EQ(field(rec.out, "page_digest").size(), 18u);  // 16 hex digits in quotes
  for (const char* key : {"virtual_ms", "frames", "phase", "score", "energy", "round_seconds", "page_digest"})
    EXPECT_EQ(field(play.out, key), field(rec.out, key)) << key;
  EXPECT_EQ(read_file(dir / "play" / "data" / "hs.dat"), read_file(dir / "rec" / "data" / "hs.dat"));
  EXPECT_NE(read_file(dir / "rec" / "data" / "hs.dat"), "");
  fs::remove_all(dir);
}

class TamperedReplay : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fresh_temp_dir("replay_tamper");
    file = (dir / "r.tvr").string();
    const std::string script = write_script(dir, "1500 tap ENTER\n4000 down LEFT\n4000 down SPACE\n6000 up LEFT\n");
    const ProcessResult rec =
        run_headless_bin("--script '" + script + "' --until-ms 9000 --workdir '" + dir.string() + "' --record '" + file + "'");
    ASSERT_EQ(rec.exit_code, 0) << rec.err;
    const std::string s = read_file(file);
    bytes.assign(s.begin(), s.end());
    const ProcessResult play = run_headless_bin("--play '" + file + "' --workdir '" + dir.string() + "'");
    ASSERT_EQ(play.exit_code, 0) << play.err;
    recorded_digest = field(play.out, "page_digest");
    EXPECT_EQ(recorded_digest, field(rec.out, "page_digest"));
  }
  void TearDown() override { fs::remove_all(dir); }

  ProcessResult play(std::vector<std::uint8_t> changed, bool fix_sum) {
    if (fix_sum) {  // as a hand edit that knows the format would
      const std::uint64_t sum = XXH64(changed.data(), changed.size() - 8, 0);
      for (int i = 0; i < 8; ++i) changed[changed.size() - 8 + i] = static_cast<std::uint8_t>(sum >> (8 * i));
    }
    const fs::path edited = dir / "edited.tvr";
    std::ofstream(edited, std::ios::binary).write(reinterpret_cast<const char*>(changed.data()), static_cast<long>(changed.size()));
    return run_headless_bin("--play '" + edited.string() + "' --workdir '" + dir.string() + "'");
  }

  fs::path dir;
  std::string file;
  std::vector<std::uint8_t> bytes;
  std::string recorded_digest;
};

TEST_F(TamperedReplay, AChangedCheckpointStopsAtThatCheckpointWithStatus3) {
  const ReplayParse parse = parse_replay(bytes);
  ASSERT_EQ(parse.error, "");
  int seen = 0;
  std::uint64_t second = 0;
  for (const ReplayRecord& r : parse.data.records)
    if (r.kind == ReplayKind::Checkpoint && ++seen == 2) second = r.digest;
  ASSERT_EQ(seen > 2, true);
  std::vector<std::uint8_t> changed = bytes;
  std::uint8_t pattern[8];
  for (int i = 0; i < 8; ++i) pattern[i] = static_cast<std::uint8_t>(second >> (8 * i));
  auto at = std::search(changed.begin(), changed.end(), pattern, pattern + 8);
  ASSERT_NE(at, changed.end());
  at[3] ^= 1;
  const ProcessResult result = play(changed, true);
  EXPECT_EQ(result.exit_code, 3);
  EXPECT_NE(result.err.find("diverges at checkpoint frame 82:"), std::string::npos) << result.err;
}

TEST_F(TamperedReplay, AnyByteChangedInTheMiddleIsABadFileNeverACleanReplay) {
  // The checksum catches it wherever it is, also where the changed reading would not change
  // a single page (a clock reading only the frame-rate counter looks at).
  for (std::size_t at : {bytes.size() / 3, bytes.size() / 2, bytes.size() * 2 / 3}) {
    std::vector<std::uint8_t> changed = bytes;
    changed[at] ^= 0x04;
    const ProcessResult unsigned_edit = play(changed, false);
    EXPECT_EQ(unsigned_edit.exit_code, 2) << at;
    EXPECT_NE(unsigned_edit.err.find("checksum mismatch"), std::string::npos) << unsigned_edit.err;
  }
}

TEST_F(TamperedReplay, ACutRecordingIsRefusedBeforeAnythingRuns) {
  std::vector<std::uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<long>(bytes.size() / 2));
  const ProcessResult result = play(cut, false);
  EXPECT_EQ(result.exit_code, 2);
  EXPECT_EQ(result.out, "");  // no JSON: no game was run
  EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
}

}  // namespace
