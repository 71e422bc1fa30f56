#pragma once
// A playback that the viewer can seek backwards in: the game is deterministic, so going back
// is starting it again from the recording's first call and running it flat out and unseen to
// the frame sought.
#include <functional>

#include "replay/replay_player.h"

// The setup of the player that takes over after a jump back.
PlaybackSetup playback_after(PlaybackSetup setup, const PlaybackRestart& restart);

// Runs `game` with a player for `data` until the game ends, starting over with a new player
// each time the viewer seeks back. `game` installs the player it is given and returns the
// exit code.
int play_with_restarts(Platform& inner, const ReplayData& data, bool real_time, const char* who,
                       PlaybackSetup setup, const std::function<int(ReplayPlayer&)>& game);
