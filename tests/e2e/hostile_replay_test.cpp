// Recordings from strangers: a well-checksummed file whose input puts the typed-key ring out of
// range is refused before the game starts, by the headless player and the window alike.
#include "e2e/e2e_support.h"
#include "replay/input_layout.h"
#include "replay/replay_mutator.h"

namespace {

namespace fs = std::filesystem;

TEST(HostileReplay, ATypedKeyRingOutOfRangeIsADamagedFileForBothPlayers) {
  const Layout ring = input_layout();
  const ReplayParse parse = load_replay_file(TORVANE_SOURCE_DIR "/tests/replays/lost_round.tvr");
  ASSERT_EQ(parse.error, "");
  EditedReplay edit = to_edit(parse.data);
  // The first L typed for the name entry: from then on the game reads the ring.
  auto typed_l = [&](const EditRecord& x) {
    for (const ReplayByteChange& c : x.changes)
      if (c.value == 'L' && c.offset >= ring.ring_entry && c.offset < ring.ring_entry + 32) return true;
    return false;
  };
  const auto at = std::find_if(edit.records.begin(), edit.records.end(), typed_l);
  ASSERT_NE(at, edit.records.end());
  // The head's top byte: an index a gigabyte past the ring.
  at->changes.push_back({static_cast<std::uint16_t>(ring.head + 3), 0x40});
  std::sort(at->changes.begin(), at->changes.end(), [](auto a, auto b) { return a.offset < b.offset; });
  const fs::path dir = fresh_temp_dir("hostile_replay");
  const fs::path file = dir / "crafted.tvr";
  const std::vector<std::uint8_t> bytes = encode(edit);
  std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));

  const ProcessResult headless = run_headless_bin("--play '" + file.string() + "' --workdir '" + dir.string() + "'");
  const ProcessResult window = run_headless_bin("--play '" + file.string() + "'", "SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy",
                                                TORVANE_GAME_BIN);
  for (const ProcessResult& r : {headless, window}) {
    EXPECT_EQ(r.exit_code, 2) << r.err;
    EXPECT_NE(r.err.find("the typed-key ring's head at 1073741824, outside 0..15: the file is damaged"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("before checkpoint frame "), std::string::npos) << r.err;
  }
  fs::remove_all(dir);
}

// A reading larger than the game takes it into is never copied: the replay stops there (3).
TEST(HostileReplay, AReadingLargerThanTheGameTakesStopsTheReplay) {
  const ReplayParse parse = load_replay_file(TORVANE_SOURCE_DIR "/tests/replays/menus.tvr");
  ASSERT_EQ(parse.error, "");
  EditedReplay edit = to_edit(parse.data);
  const auto choice = std::find_if(edit.records.begin(), edit.records.end(), [](const EditRecord& x) {
    return x.r.kind == ReplayKind::Reading && x.r.reading == ReadingKind::ScreenChoice;
  });
  ASSERT_NE(choice, edit.records.end());
  choice->bytes = "12345";
  const fs::path dir = fresh_temp_dir("hostile_reading");
  const fs::path file = dir / "crafted.tvr";
  const std::vector<std::uint8_t> bytes = encode(edit);
  std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
  const ProcessResult r = run_headless_bin("--play '" + file.string() + "' --workdir '" + dir.string() + "'");
  EXPECT_EQ(r.exit_code, 3) << r.err;
  EXPECT_NE(r.err.find("before checkpoint frame 41: the recording gives 5 bytes of the screen choice where the game takes "
                       "at most 0"),
            std::string::npos)
      << r.err;
  fs::remove_all(dir);
}

}  // namespace
