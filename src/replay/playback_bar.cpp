// The playback bar: a strip of text over a progress line, drawn without touching the heap.
#include "replay/playback_bar.h"

#include <cstdio>

namespace {

constexpr int kFramesPerSecond = 41;
constexpr Colour kStrip = 0xFF101018u, kText = 0xFFE0E0E0u, kDone = 0xFF40C0FFu, kToGo = 0xFF404048u;
constexpr int kStripHeight = 13, kLineHeight = 3;

const char* speed_text(int speed) {
  static const char* const kTexts[kPlaybackSpeedCount] = {"x1/4", "x1/2", "x1", "x2", "x4", "flat out"};
  return speed >= 0 && speed < kPlaybackSpeedCount ? kTexts[speed] : "?";
}

}  // namespace

void playback_time_text(std::int64_t frames, char* out) {
  const std::int64_t seconds = frames < 0 ? 0 : frames / kFramesPerSecond;
  const int minutes = seconds / 60 > 99999 ? 99999 : static_cast<int>(seconds / 60);
  std::snprintf(out, 16, "%d:%02d", minutes, static_cast<int>(seconds % 60));
}

void draw_playback_bar(Image& page, const PlaybackControls& controls, std::int64_t frame, std::int64_t total,
                       int score) {
  if (page.width <= 0 || page.height < kStripHeight + kLineHeight) return;
  const int top = page.height - kStripHeight - kLineHeight;
  for (int y = top; y < page.height - kLineHeight; ++y)
    for (int x = 0; x < page.width; ++x) page.row(y)[x] = kStrip;
  // The line fills with the share played; a frame past the end (none should be) fills it.
  const std::int64_t done = total > 0 ? (frame >= total ? page.width : frame * page.width / total) : 0;
  for (int y = page.height - kLineHeight; y < page.height; ++y)
    for (int x = 0; x < page.width; ++x) page.row(y)[x] = x < done ? kDone : kToGo;

  char now[16], length[16], line[96];
  playback_time_text(frame, now);
  playback_time_text(total, length);
  std::snprintf(line, sizeof line, "%s %s / %s  %s   Score %d", controls.paused ? "Paused" : "Playing", now, length,
                speed_text(controls.speed), score);
  gfx_draw_text(&page, 4, static_cast<float>(top + 3), line, kText);
}
