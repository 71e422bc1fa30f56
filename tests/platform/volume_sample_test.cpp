// The sample that answers a change of the effects' volume.
#include <gtest/gtest.h>

#include "platform/volume_sample.h"

TEST(VolumeSample, OnlyAChangeAfterTheSavedVolumeToAnAudibleLevelIsHeard) {
  VolumeSample sample;
  EXPECT_FALSE(sample.wanted(128)) << "the saved volume at start is not a choice";
  EXPECT_FALSE(sample.wanted(128)) << "the same volume again";
  EXPECT_TRUE(sample.wanted(192));
  EXPECT_FALSE(sample.wanted(0)) << "silence has nothing to hear";
  EXPECT_TRUE(sample.wanted(64));
}
