// The playback keys: Space, '.', '-' and '+', the arrows, Home and End.
#include "replay/playback_controls.h"

namespace {

// Set-1 scancodes, main keyboard and keypad alike.
constexpr int kSpace = 57, kPeriod = 52, kMinus = 12, kEquals = 13, kPadMinus = 74, kPadPlus = 78;
constexpr int kLeft = 75, kRight = 77, kHome = 71, kEnd = 79;

std::int64_t checkpoint_at_or_below(std::int64_t frame) {
  return frame <= 0 ? 0 : frame / kReplayCheckpointFrames * kReplayCheckpointFrames;
}

}  // namespace

std::int64_t replay_total_frames(const ReplayData& data) {
  std::int64_t checkpoints = 0;
  for (const ReplayRecord& r : data.records) {
    if (r.kind == ReplayKind::End) return r.frames;
    if (r.kind == ReplayKind::Checkpoint) ++checkpoints;
  }
  return checkpoints * kReplayCheckpointFrames;
}

bool playback_key(PlaybackControls& c, int scancode, std::int64_t frame, std::int64_t total) {
  // The last checkpoint before the end: a jump lands where the page is known.
  const std::int64_t last = checkpoint_at_or_below(total);
  const std::int64_t from = c.seek_to >= 0 ? c.seek_to : frame;
  switch (scancode) {
    case kSpace:
      c.paused = !c.paused;
      c.step = false;
      return true;
    case kPeriod:
      c.paused = true;
      c.step = true;
      return true;
    case kMinus:
    case kPadMinus:
      if (c.speed > 0) --c.speed;
      return true;
    case kEquals:
    case kPadPlus:
      if (c.speed < kPlaybackSpeedCount - 1) ++c.speed;
      return true;
    case kLeft: {
      // From just past a checkpoint, a jump back lands a whole 10 s earlier, not on that one.
      c.seek_to = checkpoint_at_or_below(from - kPlaybackJumpFrames);
      return true;
    }
    case kRight: {
      // Never past the last checkpoint, and never backwards from beyond it.
      const std::int64_t target = checkpoint_at_or_below(from + kPlaybackJumpFrames);
      const std::int64_t capped = target < last ? target : last;
      if (capped > from) c.seek_to = capped;
      return true;
    }
    case kHome: c.seek_to = 0; return true;
    case kEnd:
      if (last > from) c.seek_to = last;
      return true;
    default: return false;
  }
}
