// Fuzzes replay files: the reader with any bytes, and, through a structure-aware mutator that
// changes records inside sound chunks and makes their sums right again, the real player on the
// headless backend with every file the reader takes (each in a child process, from the game's
// fresh globals). Kept out of the CMake build, as it needs clang's libFuzzer; from the project
// root (tests/replay/replay_fuzz_test.cpp runs a fixed budget of the same in every test run):
//   clang++ -std=c++20 -g -O1 -ffp-contract=off -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -DTORVANE_VERSION='"1.0.0"' -Isrc -Itools -Itests fuzz/replay_reader_fuzz.cpp $(ls src/*/*.cpp | grep -vE '/(i_sdl[^/]*|i_web[^/]*|main|web_main)\.cpp$') tools/headless/headless_platform.cpp $(pkg-config --cflags --libs libxxhash) -o /tmp/replay_fuzz
//   mkdir -p /tmp/replay_seeds && cp tests/replays/menus.tvr tests/replays/round_keys.tvr /tmp/replay_seeds/
//   /tmp/replay_fuzz -max_len=200000 -timeout=300 -max_total_time=3600 /tmp/replay_seeds fuzz/replay_corpus
// The coverage it steers by is the reader's: the games run in children it does not see. With
// REPLAY_FUZZ_READER_ONLY set it stops at the reader.
#include <cmath>
#include <cstdio>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "replay/play_in_child.h"
#include "replay/replay_format.h"
#include "replay/replay_mutator.h"
#include "system/input.h"

extern "C" std::size_t LLVMFuzzerMutate(std::uint8_t* data, std::size_t size, std::size_t max_size);

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

// A file the reader can take apart gets one to three record changes; anything else, libFuzzer's
// own byte changes.
extern "C" std::size_t LLVMFuzzerCustomMutator(std::uint8_t* data, std::size_t size, std::size_t max_size,
                                               unsigned int seed) {
  const ReplayParse parse = parse_replay({data, size}, false);
  if (!parse.error.empty() || seed % 8 == 0) return LLVMFuzzerMutate(data, size, max_size);
  EditedReplay edit = to_edit(parse.data);
  ReplayMutator mutator(seed);
  for (unsigned k = 0; k <= seed % 3; ++k) mutator.mutate(edit);
  const std::vector<std::uint8_t> bytes = encode(edit);
  if (bytes.size() > max_size) return LLVMFuzzerMutate(data, size, max_size);
  std::memcpy(data, bytes.data(), bytes.size());
  return bytes.size();
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  // Without the checksum, so that the records themselves are what gets explored.
  const ReplayParse parse = parse_replay(bytes, false);
  if (!parse.error.empty()) {
    check(parse.error.find('\n') == std::string::npos);
    return 0;
  }
  // What the player may rely on once a file is accepted.
  const ReplayData& d = parse.data;
  // Whole, it ends with its end record; cut short, with its last checkpoint.
  check(!d.records.empty() && d.records.back().kind == (d.cut_short ? ReplayKind::Checkpoint : ReplayKind::End));
  double last = -INFINITY;
  std::vector<std::uint8_t> state(d.state_size, 0);
  const bool this_build = d.state_size == input_state_bytes().size();
  for (const ReplayRecord& r : d.records) {
    if (r.kind <= ReplayKind::ClockRepeat) {
      check(std::isfinite(r.clock) && r.clock >= last);
      last = r.clock;
    }
    if (r.kind == ReplayKind::Input) {
      check(r.changes > 0 && std::size_t{r.first_change} + r.changes <= d.changes.size());
      for (std::uint32_t i = 0; i < r.changes; ++i) {
        check(d.changes[r.first_change + i].offset < d.state_size);
        state[d.changes[r.first_change + i].offset] = d.changes[r.first_change + i].value;
      }
      // Every input state the game would be given is one it can have.
      check(!this_build || input_state_problem(state).empty());
    }
    if (r.kind == ReplayKind::Reading)
      check(static_cast<int>(r.reading) < kReadingKinds && r.size <= kReplayMaxReadingBytes &&
            std::size_t{r.first_byte} + r.size <= d.reading_bytes.size());
  }
  // With the checksum a file is never read differently, only refused more often.
  const ReplayParse checked = parse_replay(bytes, true);
  check(!checked.error.empty() || (checked.data.records.size() == d.records.size() && checked.data.cut_short == d.cut_short));
  if (!checked.error.empty() || !replay_fits_this_build(checked.data).empty()) return 0;
  // Thousands of files a second for the reader alone; about one a second with the games.
  static const bool reader_only = std::getenv("REPLAY_FUZZ_READER_ONLY") != nullptr;
  if (reader_only) return 0;
  // The game itself on what the reader took: it plays to an end of its own.
  const char* err = "/tmp/replay_fuzz_child.txt";
  const ChildEnd end = play_in_child(checked.data, err);
  if (!ended_soundly(end)) {
    std::fprintf(stderr, "the player ended with exit code %d, signal %d; what it said is in %s\n", end.exit_code, end.signal, err);
    std::abort();
  }
  return 0;
}
