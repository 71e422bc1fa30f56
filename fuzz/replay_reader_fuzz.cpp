// Fuzzes the replay file reader with arbitrary file contents. Build and run from the project
// root (kept out of the CMake build: it needs clang's libFuzzer):
//   clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -Isrc fuzz/replay_reader_fuzz.cpp src/replay/replay_reader.cpp src/replay/replay_clock.cpp $(pkg-config --cflags --libs libxxhash) -o /tmp/replay_fuzz && /tmp/replay_fuzz -runs=1000000 -max_len=4096 fuzz/replay_corpus
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "replay/replay_format.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

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
  for (const ReplayRecord& r : d.records) {
    if (r.kind <= ReplayKind::ClockRepeat) {
      check(std::isfinite(r.clock) && r.clock >= last);
      last = r.clock;
    }
    if (r.kind == ReplayKind::Input) {
      check(r.changes > 0 && std::size_t{r.first_change} + r.changes <= d.changes.size());
      for (std::uint32_t i = 0; i < r.changes; ++i) check(d.changes[r.first_change + i].offset < d.state_size);
    }
    if (r.kind == ReplayKind::Reading)
      check(static_cast<int>(r.reading) < kReadingKinds && r.size <= kReplayMaxReadingBytes &&
            std::size_t{r.first_byte} + r.size <= d.reading_bytes.size());
  }
  // With the checksum a file is never read differently, only refused more often.
  const ReplayParse checked = parse_replay(bytes, true);
  check(!checked.error.empty() || (checked.data.records.size() == d.records.size() && checked.data.cut_short == d.cut_short));
  return 0;
}
