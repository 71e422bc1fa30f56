// Starting a playback over for a jump back.
#include "replay/playback_restarts.h"

PlaybackSetup playback_after(PlaybackSetup setup, const PlaybackRestart& restart) {
  setup.carried = restart.controls;
  setup.start_at = restart.controls.seek_to;
  return setup;
}

int play_with_restarts(Platform& inner, const ReplayData& data, bool real_time, const char* who,
                       PlaybackSetup setup, const std::function<int(ReplayPlayer&)>& game) {
  for (;;) {
    ReplayPlayer player(inner, data, real_time, who, setup);
    try {
      return game(player);
    } catch (const PlaybackRestart& restart) {
      setup = playback_after(setup, restart);
    }
  }
}
