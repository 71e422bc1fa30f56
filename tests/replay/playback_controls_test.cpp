// The viewer's keys: where a jump lands, the speed's ends, pause and step, and the bar.
#include <gtest/gtest.h>

#include <cstring>

#include "replay/playback_bar.h"
#include "replay/playback_controls.h"

namespace {

constexpr int kSpace = 57, kPeriod = 52, kMinus = 12, kPlus = 13, kLeft = 75, kRight = 77, kHome = 71, kEnd = 79;
constexpr std::int64_t kTotal = 20404;  // an 8-minute round; its last checkpoint is 20377

std::int64_t jump(int key, std::int64_t frame, std::int64_t pending = -1) {
  PlaybackControls c;
  c.seek_to = pending;
  playback_key(c, key, frame, kTotal);
  return c.seek_to;
}

TEST(PlaybackControls, JumpsLandOnCheckpointsTenSecondsAwayWithinTheRecording) {
  EXPECT_EQ(jump(kRight, 0), 410);
  EXPECT_EQ(jump(kRight, 100), 492);  // 510 rounds down to the checkpoint before it
  EXPECT_EQ(jump(kLeft, 1000), 574);
  EXPECT_EQ(jump(kLeft, 451), 41);
  EXPECT_EQ(jump(kLeft, 450), 0);
  EXPECT_EQ(jump(kLeft, 100), 0);  // before the start is the start
  EXPECT_EQ(jump(kRight, 20000), 20377);
  // Past the last checkpoint Right and End stay put rather than going back.
  EXPECT_EQ(jump(kRight, 20390), -1);
  EXPECT_EQ(jump(kEnd, 20390), -1);
  EXPECT_EQ(jump(kEnd, 5), 20377);
  EXPECT_EQ(jump(kHome, 9000), 0);
  // A second press counts from the jump still under way.
  EXPECT_EQ(jump(kRight, 0, 410), 820);
  EXPECT_EQ(jump(kLeft, 5000, 820), 410);
}

TEST(PlaybackControls, SpeedStopsAtItsEndsAndOnlyTheNormalSpeedIsHeard) {
  PlaybackControls c;
  EXPECT_EQ(kPlaybackSpeeds[c.speed], 1.0);
  EXPECT_TRUE(playback_audible(c));
  for (int i = 0; i < 9; ++i) playback_key(c, kMinus, 0, kTotal);
  EXPECT_EQ(kPlaybackSpeeds[c.speed], 0.25);
  EXPECT_FALSE(playback_audible(c));
  for (int i = 0; i < 9; ++i) playback_key(c, kPlus, 0, kTotal);
  EXPECT_EQ(kPlaybackSpeeds[c.speed], 0.0) << "the top speed is flat out";
  for (int i = 0; i < 3; ++i) playback_key(c, kMinus, 0, kTotal);
  EXPECT_TRUE(playback_audible(c));
}

TEST(PlaybackControls, SpaceTogglesThePausePeriodStepsAndOtherKeysGoToTheGame) {
  PlaybackControls c;
  EXPECT_TRUE(playback_key(c, kSpace, 0, kTotal));
  EXPECT_TRUE(c.paused);
  EXPECT_FALSE(playback_audible(c));
  EXPECT_TRUE(playback_key(c, kPeriod, 0, kTotal));
  EXPECT_TRUE(c.paused && c.step);
  playback_key(c, kSpace, 0, kTotal);
  EXPECT_FALSE(c.paused || c.step) << "resuming drops a step still pending";
  playback_key(c, kPeriod, 0, kTotal);
  EXPECT_TRUE(c.paused && c.step) << "a step while playing pauses after it";
  EXPECT_FALSE(playback_key(c, 1, 0, kTotal)) << "Escape is not a control";
  EXPECT_FALSE(playback_key(c, 28, 0, kTotal));
}

TEST(PlaybackControls, TheLengthIsTheEndOrTheLastCheckpointOfACutShortRecording) {
  ReplayData data;
  ReplayRecord checkpoint{};
  checkpoint.kind = ReplayKind::Checkpoint;
  data.records.assign(3, checkpoint);
  EXPECT_EQ(replay_total_frames(data), 123);
  ReplayRecord end{};
  end.kind = ReplayKind::End;
  end.frames = 140;
  data.records.push_back(end);
  EXPECT_EQ(replay_total_frames(data), 140);
}

TEST(PlaybackBar, TellsTimeSpeedAndScoreAndFillsItsLineWithTheSharePlayed) {
  char text[16];
  playback_time_text(41 * 75, text);
  EXPECT_STREQ(text, "1:15");
  playback_time_text(40, text);
  EXPECT_STREQ(text, "0:00");

  Image page;
  page.width = page.stride = 640;
  page.height = 480;
  page.pixels.assign(640 * 480, 0xFF000000u);
  PlaybackControls c;
  c.speed = 3;
  draw_playback_bar(page, c, 5000, 20000, 1234);
  // A quarter played: the line is lit to x = 160 and dark after it; the game above is untouched.
  EXPECT_NE(page.row(479)[159], page.row(479)[160]);
  EXPECT_EQ(page.row(479)[160], page.row(479)[639]);
  EXPECT_EQ(page.row(463)[0], 0xFF000000u);
  EXPECT_NE(page.row(464)[0], 0xFF000000u);
  // The text is drawn: some pixels of the strip differ from its ground.
  int lit = 0;
  for (int y = 464; y < 477; ++y)
    for (int x = 0; x < 640; ++x) lit += page.row(y)[x] != page.row(464)[639];
  EXPECT_GT(lit, 100);
}

}  // namespace
