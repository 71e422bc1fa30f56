#pragma once
// Runs the game on a backend, recording the session or playing one back when asked.
#include <string>

#include "app/replay_options.h"
#include "replay/replay_recorder.h"
#include "system/i_platform.h"

// Starts recording into path; an error or "". A recording that cannot start (a file-size limit
// of 0, a full disk) leaves no FILE.part behind: one shorter than a header holds nothing.
std::string start_recording(ReplayRecorder& recorder, const std::string& path, bool runner_made = false);

// Bad replay files and recordings that cannot be made: 2. A replay that goes its own way: 3.
// Otherwise the game's own exit code.
int run_with_replay(Platform& backend, const ReplayOptions& options, int argc, char** argv);

// A recording cut short that played as far as it goes: not the 0 of a whole one.
inline constexpr int kReplayCutShortExit = 4;
