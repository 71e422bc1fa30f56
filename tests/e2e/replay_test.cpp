// Recording a game and playing it back gives the same game, and a recording that was tampered
// with never plays as if it were sound. (The recorded games under tests/replays play back
// whole rounds, tables and all.)
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

// A short round recorded and played back alike; then the same file with one checkpoint edited.
class ShortRecording : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fresh_temp_dir("replay_tamper");
    file = (dir / "r.tvr").string();
    const std::string script = write_script(dir, "1500 tap ENTER\n4000 down LEFT\n4000 down SPACE\n6000 up LEFT\n");
    const ProcessResult rec =
        run_headless_bin("--script '" + script + "' --until-ms 9000 --workdir '" + dir.string() + "' --record '" + file + "'");
    ASSERT_EQ(rec.exit_code, 0) << rec.err;
    EXPECT_EQ(field(rec.out, "alloc_count_in_rounds"), "0");  // recording allocates nothing in a round
    const std::string s = read_file(file);
    bytes.assign(s.begin(), s.end());
    const ProcessResult play = run_headless_bin("--play '" + file + "' --workdir '" + dir.string() + "'");
    ASSERT_EQ(play.exit_code, 0) << play.err;
    for (const char* key : {"frames", "score", "energy", "page_digest", "sound_digest"})
      EXPECT_EQ(field(play.out, key), field(rec.out, key)) << key;
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
};

TEST_F(ShortRecording, PlaysBackAlikeButStopsWithStatus3AtACheckpointThatWasEdited) {
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

}  // namespace
