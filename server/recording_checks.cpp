// The checks every recording passes before it is replayed.
#include "recording_checks.h"

#include "replay/replay_player.h"

std::string recording_problem(const ReplayData& data) {
  if (data.cut_short) return "the recording is cut short (no end record)";
  if (data.game_version != kReplayGameVersion)
    return "recorded by " + data.game_version + ", this server verifies " + kReplayGameVersion;
  if (std::string problem = replay_fits_this_build(data); !problem.empty()) return problem;
  return "";
}
