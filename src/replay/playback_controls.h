#pragma once
// What the viewer of a playback asks for with the keys: pause, a frame forward, a speed, a
// jump to a checkpoint. Pure state, so the player and the tests drive it alike.
#include <cstdint>

#include "replay/replay_format.h"

// The speeds in order; 0 is flat out.
inline constexpr double kPlaybackSpeeds[] = {0.25, 0.5, 1.0, 2.0, 4.0, 0.0};
inline constexpr int kPlaybackSpeedCount = 6;
inline constexpr int kPlaybackNormalSpeed = 2;
// Left and Right jump this far, rounded to a checkpoint.
inline constexpr std::int64_t kPlaybackJumpFrames = 410;

struct PlaybackControls {
  int speed = kPlaybackNormalSpeed;  // index into kPlaybackSpeeds
  bool paused = false;
  bool step = false;          // one frame, then paused again
  std::int64_t seek_to = -1;  // a checkpoint frame asked for, -1 for none
};

// The frames the recording holds: its end, or its last checkpoint when it was cut short.
std::int64_t replay_total_frames(const ReplayData& data);

// Applies a key pressed at `frame` of a recording of `total` frames. Returns false for a key
// that is not a control (it goes on to the game's own handling: Escape, the close button).
bool playback_key(PlaybackControls& c, int scancode, std::int64_t frame, std::int64_t total);

// The sound plays at the normal speed only.
inline bool playback_audible(const PlaybackControls& c) { return c.speed == kPlaybackNormalSpeed && !c.paused; }
