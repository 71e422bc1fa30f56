// A recording that was tampered with never plays as if it were sound. (That a recording plays
// back as recorded is replay_start_test.cpp's, and every recorded game's under tests/replays.)
#include "e2e/e2e_support.h"
#include "replay/replay_mutator.h"

namespace fs = std::filesystem;

namespace {

// A short round recorded (which allocates nothing in the round), then the same file with one
// byte edited and every sum put right. Each edit is named for what it changes: a page, a sound,
// or a reading the game does not find where it looks. The message gives the first checkpoint
// that differs and the likely cause.
TEST(ShortRecording, AnEditStopsThePlaybackWithStatus3NamingWhatItChanged) {
  const fs::path dir = fresh_temp_dir("replay_tamper");
  const std::string file = (dir / "r.tvr").string();
  const std::string script = write_script(dir, "1500 tap ENTER\n4000 down LEFT\n4000 down SPACE\n6000 up LEFT\n");
  const ProcessResult rec =
      run_headless_bin("--script '" + script + "' --until-ms 9000 --workdir '" + dir.string() + "' --record '" + file + "'");
  ASSERT_EQ(rec.exit_code, 0) << rec.err;
  EXPECT_EQ(json_field(rec.out, "alloc_count_in_rounds"), "0");
  const std::string s = read_file(file);
  const std::vector<std::uint8_t> bytes(s.begin(), s.end());
  const ReplayParse parse = parse_replay(bytes);
  ASSERT_EQ(parse.error, "");
  int seen = 0;
  std::uint64_t second = 0;
  for (const ReplayRecord& r : parse.data.records)
    if (r.kind == ReplayKind::Checkpoint && ++seen == 2) second = r.digest;
  ASSERT_EQ(seen > 2, true);
  std::uint8_t pattern[8];
  for (int i = 0; i < 8; ++i) pattern[i] = static_cast<std::uint8_t>(second >> (8 * i));
  const auto page_at = std::search(bytes.begin(), bytes.end(), pattern, pattern + 8) - bytes.begin();
  ASSERT_LT(page_at, static_cast<long>(bytes.size()));
  // The settings reading (kind 0, outcome 0, no bytes) made into the screen choice (kind 2).
  long settings_at = 13 + bytes[12];
  while (!((bytes[settings_at] & 15) == 9 && bytes[settings_at + 1] == 0 && bytes[settings_at + 2] == 0)) ++settings_at;
  const std::pair<long, std::string> edits[] = {
      {page_at + 3, "diverges at checkpoint frame 82: the page differs"},
      {page_at + 8 + 3, "diverges at checkpoint frame 82: the sound differs"},
      {settings_at + 1, "diverges before checkpoint frame 41: the game reads the settings where the recording has the screen choice"},
  };
  const fs::path edited = dir / "edited.tvr";
  for (const auto& [at, message] : edits) {
    std::vector<std::uint8_t> changed = bytes;
    changed[static_cast<std::size_t>(at)] ^= 2;
    changed = with_sums_fixed(changed);
    std::ofstream(edited, std::ios::binary).write(reinterpret_cast<const char*>(changed.data()), static_cast<long>(changed.size()));
    const ProcessResult result = run_headless_bin("--play '" + edited.string() + "' --workdir '" + dir.string() + "'");
    EXPECT_EQ(result.exit_code, 3);
    EXPECT_NE(result.err.find(message), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("; likely cause: another build of the game, or an edited recording"), std::string::npos);
  }
  fs::remove_all(dir);
}

}  // namespace
