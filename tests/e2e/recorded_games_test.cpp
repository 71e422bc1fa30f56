// The recorded games under tests/replays, played back: the pages and sounds (checked every 41
// frames as the replay goes, the last page at the end) and the score must come out as pinned,
// and the high-score table pages play from the recording without a file being made anywhere.
// After a change meant to alter them: tools/record-test-games.sh, and say why in the commit.
#include "e2e/e2e_support.h"

#include <map>

namespace {

const std::filesystem::path kGames = std::filesystem::path(TORVANE_SOURCE_DIR) / "tests" / "replays";

// The top-level members of a one-line JSON object, each as its raw text.
std::map<std::string, std::string> members(const std::string& json) {
  std::map<std::string, std::string> out;
  std::size_t i = json.find('{');
  while (i != std::string::npos && i + 1 < json.size()) {
    const std::size_t key_start = json.find('"', i + 1);
    if (key_start == std::string::npos) break;
    const std::size_t key_end = json.find('"', key_start + 1);
    std::size_t j = key_end + 2;  // past the colon
    int depth = 0;
    bool in_text = false;
    for (; j < json.size(); ++j) {
      const char c = json[j];
      if (c == '"') in_text = !in_text;
      if (in_text) continue;
      if (c == '[' || c == '{') ++depth;
      if (c == ']' || c == '}') --depth;
      if (depth < 0 || (depth == 0 && c == ',')) break;
    }
    out[json.substr(key_start + 1, key_end - key_start - 1)] = json.substr(key_end + 2, j - key_end - 2);
    i = j < json.size() && json[j] == ',' ? j : std::string::npos;
  }
  return out;
}

class RecordedGame : public ::testing::TestWithParam<std::string> {};

TEST_P(RecordedGame, ReplaysToThePinnedPagesSoundsScoreAndTable) {
  const std::string name = GetParam();
  const std::filesystem::path dir = fresh_temp_dir("replay_" + name);
  const ProcessResult run = run_headless_bin(
      "--play '" + (kGames / (name + ".tvr")).string() + "' --workdir '" + dir.string() + "'",
      xdg_env(dir));
  // A divergence names the first checkpoint frame that differs.
  EXPECT_EQ(run.exit_code, 0) << run.err;
  // The format-2 menus are kept only up to the menu before Options, which has changed since
  // (the whole file went its own way at checkpoint frame 205): they must play to their end.
  if (name == "menus_format2") {
    EXPECT_NE(run.err.find("recording cut short: played as recorded up to checkpoint frame 164, where the file ends"),
              std::string::npos)
        << run.err;
  }
  auto got = members(run.out);
  EXPECT_TRUE(std::filesystem::is_empty(dir)) << "the replay made files in its folders";
  const auto pinned = members(read_file(kGames / (name + ".json")));
  ASSERT_FALSE(pinned.empty());
  std::string differing;
  for (const auto& [key, value] : pinned)
    if (got[key] != value) differing += "\n  " + key + ": replayed " + got[key] + ", pinned " + value;
  EXPECT_TRUE(differing.empty()) << name << " differs in" << differing;
  // An eight-minute round takes at most 256 KB.
  EXPECT_LE(std::filesystem::file_size(kGames / (name + ".tvr")), 256u * 1024u);
  // Nothing touches the heap while a round runs, whatever the round does.
  EXPECT_EQ(got["alloc_count_in_rounds"], "0");
  std::filesystem::remove_all(dir);
}

INSTANTIATE_TEST_SUITE_P(Games, RecordedGame,
                         // menus_format2: the menus as recorded in format 2 (every page in the
                         // digest), to show that format still plays: the file's first four
                         // chunks as they were, up to checkpoint frame 164, before Options is
                         // chosen. Format 2 cannot be recorded again, and the options page
                         // it showed is not the game's any more.
                         ::testing::Values("autoplay_round", "lost_round", "menus", "round_keys", "menus_format2"),
                         [](const auto& info) { return info.param; });

}  // namespace
