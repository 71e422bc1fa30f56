// The synthesised effects and their mixing.
#include <gtest/gtest.h>

#include <cstdlib>

#include "audio/audio.h"
#include "audio/sound_mixer.h"

namespace {

TEST(Sound, EveryEffectIsDeterministicShortAndBelowFullScale) {
  for (int h = 1; h <= kSoundCount; ++h) {
    const auto a = synthesise_sound(h);
    EXPECT_EQ(a, synthesise_sound(h)) << "handle " << h;
    EXPECT_GT(a.size(), static_cast<std::size_t>(kSoundRate / 100)) << "handle " << h;
    EXPECT_LT(a.size(), static_cast<std::size_t>(kSoundRate)) << "handle " << h;
    int peak = 0;
    for (std::int16_t s : a) peak = std::max(peak, std::abs(static_cast<int>(s)));
    EXPECT_GT(peak, 2000) << "handle " << h << " is nearly silent";
    EXPECT_LT(peak, 32767) << "handle " << h << " clips";
  }
  EXPECT_TRUE(synthesise_sound(0).empty());
  EXPECT_TRUE(synthesise_sound(kSoundCount + 1).empty());
}

TEST(Sound, ManyExplosionsAtOnceNeverClipAndSilenceAtLevelZero) {
  SoundMixer mixer;
  std::vector<std::int16_t> out(2 * 4096, 0);
  for (int i = 0; i < 40; ++i) mixer.play(snd_explosion_1);
  EXPECT_EQ(mixer.active_voices(), 0);  // volume 0: nothing plays
  mixer.set_volume(255);
  for (int i = 0; i < 40; ++i) {
    mixer.play(i % 2 ? snd_explosion_1 : snd_explosion_2);
    mixer.play(snd_cannon);
  }
  EXPECT_LE(mixer.active_voices(), SoundMixer::kVoices);
  mixer.mix(out.data(), 4096, 2);
  int peak = 0;
  for (std::int16_t s : out) peak = std::max(peak, std::abs(static_cast<int>(s)));
  EXPECT_GT(peak, 10000);
  EXPECT_LT(peak, 32767);
}

TEST(Sound, RapidFireFadesTheOldestVoiceInsteadOfCuttingIt) {
  SoundMixer mixer;
  mixer.set_volume(255);
  std::vector<std::int16_t> out(64, 0);
  for (int i = 0; i < SoundMixer::kMaxSameSound + 3; ++i) {
    mixer.play(snd_cannon);
    mixer.mix(out.data(), 32, 2);
  }
  // Voices being faded out still sound for a moment; none were dropped mid-sample.
  EXPECT_GT(mixer.active_voices(), SoundMixer::kMaxSameSound);
  std::vector<std::int16_t> tail(2 * 500, 0);
  mixer.mix(tail.data(), 500, 2);
  EXPECT_LE(mixer.active_voices(), SoundMixer::kMaxSameSound);
}

}  // namespace
