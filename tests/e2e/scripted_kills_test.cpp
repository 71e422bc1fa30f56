// Scripted turning and firing in the warm-up wave: the score is made of the wave's kill, tag
// and strike values, and firing is what adds kills to it.
#include "e2e/e2e_support.h"

namespace {

struct WarmUp { double score, energy, phase; };

// The warm-up wave: the line sweeps round in short turns, and with fire the cannon is held.
WarmUp play_warm_up(bool fire) {
  std::string keys = std::to_string(kMenuReadyMs) + " tap ENTER\n" + (fire ? "9000 down SPACE\n" : "");
  for (int t = 9000; t < 27000; t += 250) keys += std::to_string(t) + " tap LEFT\n";
  const GameRun run = run_game(fire ? "fire" : "nofire", "--until-ms 28000 --clock-origin 3000", keys);
  EXPECT_EQ(run.result.exit_code, 0) << run.result.err;
  std::filesystem::remove_all(run.dir);
  return {json_number(run.top, "score"), json_number(run.top, "energy"), json_number(run.top, "phase")};
}

// True when score = sum of the given point values (any counts) − 30 × strikes for some number
// of strikes up to max_strikes.
bool reachable(int score, const std::vector<int>& values, int max_strikes) {
  for (int strikes = 0; strikes <= max_strikes; ++strikes) {
    const int target = score + 30 * strikes;
    std::vector<bool> can(static_cast<std::size_t>(target) + 1, false);
    can[0] = true;
    for (int v = 1; v <= target; ++v)
      for (int value : values)
        if (value <= v && can[static_cast<std::size_t>(v - value)]) can[static_cast<std::size_t>(v)] = true;
    if (can[static_cast<std::size_t>(target)]) return true;
  }
  return false;
}

TEST(ScriptedKills, FiringAddsKillsToAScoreMadeOfTheWarmUpValues) {
  const WarmUp fired = play_warm_up(true);
  const WarmUp idle = play_warm_up(false);
  for (const WarmUp& w : {fired, idle}) {
    EXPECT_EQ(w.phase, 2) << "still the warm-up wave";
    EXPECT_GE(w.score, 0);
    EXPECT_GT(w.energy, 0);
  }
  // Every strike costs at least 1 energy (2 for the green balls), and the energy only falls
  // in this wave, so 100 − energy bounds the number of strikes.
  const int fired_strikes = static_cast<int>(100 - fired.energy);
  const int idle_strikes = static_cast<int>(100 - idle.energy);
  // Blue balls pay 65 for a kill or a tag and 1200 shot when tagged; green ones 80 and 1400.
  EXPECT_TRUE(reachable(static_cast<int>(fired.score), {65, 80, 1200, 1400}, fired_strikes)) << fired.score;
  // Without a shot the only points are tags.
  EXPECT_TRUE(reachable(static_cast<int>(idle.score), {65, 80}, idle_strikes)) << idle.score;
  // The sweeping cannon destroys several balls (65 or 80 each) that would otherwise fly on.
  EXPECT_GE(fired.score, idle.score + 5 * 65) << "the cannon destroyed balls";
}

}  // namespace
