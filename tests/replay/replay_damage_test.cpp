// Damage that keeps the checksums right, or moves a chunk's length: a recording is read as
// sound, cut short or damaged, never as a game it is not.
#include <gtest/gtest.h>

#include <filesystem>

#include "replay/input_layout.h"
#include "replay/replay_mutator.h"
#include "replay/replay_player.h"
#include "system/input.h"
#include "tools/runner_process.h"

namespace {

std::vector<std::uint8_t> pinned(const char* name) {
  const std::string s = read_file(std::filesystem::path(TORVANE_SOURCE_DIR) / "tests" / "replays" / name);
  return {s.begin(), s.end()};
}

// The length varint at `at` rewritten as `length`.
std::vector<std::uint8_t> with_length(const std::vector<std::uint8_t>& bytes, std::size_t at, std::size_t length) {
  std::size_t end = at;
  while (bytes[end] & 0x80) ++end;
  std::string v;
  replay_edit::varint(v, length);
  std::vector<std::uint8_t> out(bytes.begin(), bytes.begin() + static_cast<long>(at));
  out.insert(out.end(), v.begin(), v.end());
  out.insert(out.end(), bytes.begin() + static_cast<long>(end) + 1, bytes.end());
  return out;
}

// Every chunk's length raised to run just past the end of the file, and to the largest a chunk
// may have: all damaged. Cut anywhere, the same file is cut short or nothing to play, never
// damaged; cut at a chunk boundary it keeps every checkpoint before the cut.
TEST(ReplayDamage, ALengthRunningPastTheEndIsDamagedWhereACutIsNot) {
  const std::vector<std::uint8_t> good = pinned("menus.tvr");
  const ReplayParse whole = parse_replay(good);
  ASSERT_EQ(whole.error, "");
  const std::vector<std::size_t> starts = chunk_starts(good);
  ASSERT_GT(starts.size(), 20u);
  int raised = 0;
  for (std::size_t k = 0; k < starts.size(); ++k) {
    // What follows the length, whatever width its varint takes.
    std::size_t after = good.size() - starts[k];
    for (std::size_t i = starts[k]; good[i] & 0x80; ++i) --after;
    --after;
    for (const std::size_t length : {after - 3, kReplayMaxChunkBytes}) {
      if (length + 4 <= after) continue;
      const ReplayParse p = parse_replay(with_length(good, starts[k], length));
      EXPECT_NE(p.error.find("runs past the end of the file, yet a whole chunk starts there: the file is damaged"),
                std::string::npos)
          << "chunk " << k << " made " << length << " long: " << p.error;
      ++raised;
    }
  }
  EXPECT_GE(raised, static_cast<int>(starts.size()));
  for (std::size_t n = starts.front(); n < good.size(); ++n) {
    const ReplayParse p = parse_replay(std::vector<std::uint8_t>(good.begin(), good.begin() + static_cast<long>(n)));
    EXPECT_EQ(p.error.find("damaged"), std::string::npos) << "cut to " << n << ": " << p.error;
  }
  std::size_t checkpoints = 0;
  for (std::size_t k = 1; k < starts.size(); ++k) {
    const ReplayParse p = parse_replay(std::vector<std::uint8_t>(good.begin(), good.begin() + static_cast<long>(starts[k])));
    ASSERT_EQ(p.error, "") << "cut at chunk " << k;
    EXPECT_TRUE(p.data.cut_short);
    EXPECT_EQ(p.data.records.back().kind, ReplayKind::Checkpoint);
    std::size_t seen = 0;
    for (const ReplayRecord& r : p.data.records) seen += r.kind == ReplayKind::Checkpoint;
    EXPECT_EQ(seen, ++checkpoints) << "cut at chunk " << k;
  }
  // A varint that never ends inside the file's middle is no cut either.
  std::vector<std::uint8_t> endless = good;
  for (int i = 0; i < 11; ++i) endless[starts[3] + i] = 0xFF;
  EXPECT_NE(parse_replay(endless).error.find("an unreadable chunk length at byte " + std::to_string(starts[3])),
            std::string::npos);
}

// A recording of this build with one checkpoint, then one input record with these changes.
std::string read_with_input(std::vector<ReplayByteChange> changes) {
  EditedReplay e{kReplayGameVersion, static_cast<std::uint32_t>(input_state_bytes().size()), {}};
  EditRecord checkpoint, input, end;
  checkpoint.r.kind = ReplayKind::Checkpoint;
  input.r.kind = ReplayKind::Input;
  input.changes = std::move(changes);
  end.r.kind = ReplayKind::End;
  e.records = {checkpoint, input, end};
  return parse_replay(encode(e)).error;
}

std::vector<ReplayByteChange> le32(std::uint16_t at, std::int32_t v) {
  std::vector<ReplayByteChange> out;
  for (int i = 0; i < 4; ++i) out.push_back({static_cast<std::uint16_t>(at + i), static_cast<std::uint8_t>(v >> (8 * i))});
  return out;
}

// Each field at the edge of its range reads, one past it is a damaged file naming the field and
// the checkpoint; whatever the checksums say.
TEST(ReplayDamage, InputValuesOutOfRangeAreDamagedAtTheCheckpointTheyComeBefore) {
  const Layout at = input_layout();
  ASSERT_EQ(at.held_key, kKeyY);
  ASSERT_EQ(at.tail, at.head + 4);
  const std::pair<std::vector<ReplayByteChange>, std::string> cases[] = {
      {{{at.held_key, 2}}, "key 21 held as 2, neither 0 nor 1"},
      {{{at.ring_entry, 0x00}, {static_cast<std::uint16_t>(at.ring_entry + 1), 0x12}}, "typed key 4608 in ring entry"},
      {{{at.ring_entry, 0x80}, {static_cast<std::uint16_t>(at.ring_entry + 1), 0xFF}}, "typed key 65408 in ring entry"},
      {le32(at.head, 16), "the typed-key ring's head at 16, outside 0..15"},
      {le32(at.head, -1), "the typed-key ring's head at -1, outside 0..15"},
      {le32(at.tail, 16), "the typed-key ring's tail at 16, outside 0..15"},
      {le32(at.switches, -1), "-1 full-screen switches waiting, outside 0..65535"},
      {le32(at.switches, 65536), "65536 full-screen switches waiting"},
      {le32(at.events, 4), "window events 4, of which only 1 and 2 exist"},
  };
  for (const auto& [changes, problem] : cases) {
    const std::string error = read_with_input(changes);
    EXPECT_NE(error.find("record 2: before checkpoint frame 82: the input it gives has " + problem), std::string::npos)
        << error;
    EXPECT_NE(error.find("the file is damaged"), std::string::npos) << error;
  }
  std::vector<ReplayByteChange> edges = {{at.held_key, 1},
                                         {at.ring_entry, 0x7F},
                                         {static_cast<std::uint16_t>(at.ring_entry + 1), 0xFF},
                                         {static_cast<std::uint16_t>(at.ring_entry + 2), 0xFF}};
  for (const auto& field : {le32(at.head, 15), le32(at.tail, 15), le32(at.switches, 65535), le32(at.events, 3)})
    edges.insert(edges.end(), field.begin(), field.end());
  std::sort(edges.begin(), edges.end(), [](auto a, auto b) { return a.offset < b.offset; });
  EXPECT_EQ(read_with_input(edges), "");
  // The state carries from record to record: a head set whole, then its top byte alone.
  EditedReplay e{kReplayGameVersion, static_cast<std::uint32_t>(input_state_bytes().size()), {}};
  EditRecord first, second, end;
  first.r.kind = second.r.kind = ReplayKind::Input;
  first.changes = le32(at.head, 3);
  second.changes = {{static_cast<std::uint16_t>(at.head + 3), 0x40}};
  end.r.kind = ReplayKind::End;
  e.records = {first, second, end};
  EXPECT_NE(parse_replay(encode(e)).error.find("record 2: before checkpoint frame 41: the input it gives has the "
                                               "typed-key ring's head at 1073741827"),
            std::string::npos);
}

// The player ends with the status the recording ends with: only one the game gives.
TEST(ReplayDamage, AnEndWithAnExitStatusTheGameNeverGivesIsDamaged) {
  EditedReplay e{kReplayGameVersion, static_cast<std::uint32_t>(input_state_bytes().size()), {}};
  EditRecord end;
  end.r.kind = ReplayKind::End;
  e.records = {end};
  for (const int code : {-1, 0, 1, 2, 3, 139}) {
    e.records[0].r.exit_code = code;
    const ReplayParse p = parse_replay(encode(e));
    ASSERT_EQ(p.error, "");
    EXPECT_EQ(replay_fits_this_build(p.data),
              code == 0 || code == 1 ? ""
                                     : "the end record gives exit status " + std::to_string(code) +
                                           ", which the game never ends with: the file is damaged");
  }
}

}  // namespace
