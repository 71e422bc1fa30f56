// A fixed budget of the structure-aware fuzzing of fuzz/replay_reader_fuzz.cpp (which runs it
// longer by hand): pinned recordings changed record by record, their sums made right again,
// then read and, when the reader takes them, played through the real player. Whatever the
// change, the reader refuses it or the game plays to an end of its own: no crash, no sanitizer
// report, no hang.
#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>

#include "replay/play_in_child.h"
#include "replay/replay_mutator.h"
#include "system/input.h"
#include "tools/runner_process.h"

// A sanitizer's report must end the child with a signal, never with a game's exit code.
extern "C" const char* __asan_default_options() { return "abort_on_error=1"; }
extern "C" const char* __ubsan_default_options() { return "abort_on_error=1:halt_on_error=1:print_stacktrace=1"; }

namespace {

namespace fs = std::filesystem;

// The input state as the accepted records leave it, at every step: always one this build has.
std::string first_bad_state(const ReplayData& d) {
  std::vector<std::uint8_t> state(d.state_size, 0);
  for (const ReplayRecord& r : d.records) {
    if (r.kind != ReplayKind::Input) continue;
    for (std::uint32_t i = 0; i < r.changes; ++i) state[d.changes[r.first_change + i].offset] = d.changes[r.first_change + i].value;
    if (std::string problem = input_state_problem(state); !problem.empty()) return problem;
  }
  return "";
}

TEST(ReplayFuzz, ChangedRecordingsAreRefusedOrPlayToAnEndOfTheirOwn) {
  constexpr int kMutantsPerSeed = 30;
  const fs::path dir = fresh_temp_dir("replay_fuzz");
  int refused = 0, completed = 0, diverged = 0;
  bool failed = false;
  for (const char* seed : {"menus.tvr", "round_keys.tvr"}) {
    const ReplayParse original = load_replay_file(std::string(TORVANE_SOURCE_DIR "/tests/replays/") + seed);
    ASSERT_EQ(original.error, "");
    ReplayMutator mutator(34);
    for (int n = 0; n < kMutantsPerSeed && !failed; ++n) {
      EditedReplay edit = to_edit(original.data);
      for (int k = 0; k <= n % 3; ++k) mutator.mutate(edit);
      const std::vector<std::uint8_t> bytes = encode(edit);
      ReplayParse parse = parse_replay(bytes);
      if (parse.error.empty()) parse.error = replay_fits_this_build(parse.data);
      if (!parse.error.empty()) {
        ++refused;
        EXPECT_EQ(parse.error.find('\n'), std::string::npos);
        continue;
      }
      const fs::path kept = dir / (std::string(seed) + "." + std::to_string(n));
      std::ofstream(kept, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
      EXPECT_EQ(first_bad_state(parse.data), "") << kept;
      const fs::path err = dir / "err.txt";
      const ChildEnd end = play_in_child(parse.data, err.c_str());
      if (!ended_soundly(end)) {
        ADD_FAILURE() << kept << " (kept for torvane-headless --play) ended with exit code " << end.exit_code << ", signal "
                      << end.signal << ":\n" << read_file(err);
        failed = true;
        break;
      }
      (end.exit_code == kReplayDivergedExit ? diverged : completed) += 1;
      fs::remove(kept);
    }
  }
  std::cout << "changed recordings: " << refused << " refused, " << diverged << " diverged, " << completed
            << " played to their end\n";
  EXPECT_GT(refused, 0);
  EXPECT_GT(diverged + completed, 0);
  if (!failed) fs::remove_all(dir);
}

}  // namespace
