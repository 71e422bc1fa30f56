// The sound backend on SDL's disk driver, which writes what the device plays to a file: the
// effects must reach it whatever rate the device runs at.
#include "platform/i_sdl_audio.h"

#include "audio/sound_mixer.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

// What the device was given while an effect played on it at full volume, as one channel (the
// channels averaged) on the 16-bit scale, and its rate. The mixer keeps a device open at another
// rate and converts the effects to it; one in another format or channel count it opens again
// in its own, so the samples are read in whatever the device runs at in the end.
std::vector<float> played_samples(int& device_rate, Uint16 format = AUDIO_S16SYS, int channels = 2) {
  char path[] = "/tmp/torvane_audio_XXXXXX";
  const int fd = mkstemp(path);
  close(fd);
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", path, 1);
  EXPECT_EQ(SDL_InitSubSystem(SDL_INIT_AUDIO), 0) << SDL_GetError();
  // The device as it was opened before the game asked for it.
  EXPECT_EQ(Mix_OpenAudioDevice(device_rate, format, channels, 1024, nullptr, 0), 0) << Mix_GetError();
  {
    SdlAudio audio;
    Mix_QuerySpec(&device_rate, &format, &channels);
    audio.set_volumes(0, 255);
    audio.play_sound(1);
    SDL_Delay(400);
  }
  Mix_CloseAudio();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  std::ifstream in(path, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), {}};
  std::filesystem::remove(path);
  const std::size_t width = format == AUDIO_F32SYS ? 4 : 2;
  std::vector<float> samples(bytes.size() / width / channels);
  for (std::size_t i = 0; i < samples.size(); ++i)
    for (int c = 0; c < channels; ++c) {
      const char* at = bytes.data() + (i * channels + c) * width;
      float f = 0;
      std::int16_t s16 = 0;
      if (width == 4) {
        std::memcpy(&f, at, 4);
        f *= 32768.0f;
      } else {
        std::memcpy(&s16, at, 2);
        f = s16;
      }
      samples[i] += f / static_cast<float>(channels);
    }
  return samples;
}

// An effect's length in seconds, its peak and its zero crossings per second, between its first
// and last loud sample.
struct Shape {
  double seconds = 0, peak = 0, crossings_per_second = 0;
};
Shape shape_of(const std::vector<float>& s, int rate) {
  const auto loud = [](float v) { return std::fabs(v) > 300.0f; };
  const auto first = std::ranges::find_if(s, loud);
  const auto last = std::find_if(s.rbegin(), s.rend(), loud).base();
  Shape shape;
  if (first >= last) return shape;
  int crossings = 0;
  for (auto it = first + 1; it != last; ++it) {
    shape.peak = std::max(shape.peak, static_cast<double>(std::fabs(*it)));
    crossings += (*it >= 0) != (*(it - 1) >= 0);
  }
  shape.seconds = static_cast<double>(last - first) / rate;
  shape.crossings_per_second = crossings / shape.seconds;
  return shape;
}

TEST(SdlAudioDevice, AnEffectKeepsItsLengthPitchAndLoudnessOnDevicesOfOtherRatesChannelsAndFormats) {
  // The effect as the mixer makes it, at its own rate.
  SoundMixer mixer;
  mixer.set_volume(255);
  mixer.play(1);
  std::vector<std::int16_t> stereo(kSoundRate * 2);
  mixer.mix(stereo.data(), kSoundRate, 2);
  std::vector<float> own(kSoundRate);
  for (int i = 0; i < kSoundRate; ++i) own[i] = (stereo[2 * i] + stereo[2 * i + 1]) / 2.0f;
  const Shape made = shape_of(own, kSoundRate);
  ASSERT_GT(made.seconds, 0.02);
  const std::tuple<int, Uint16, int> devices[] = {{kSoundRate, AUDIO_S16SYS, 2}, {48000, AUDIO_S16SYS, 2},
                                                   {48000, AUDIO_F32SYS, 1}, {22050, AUDIO_S16SYS, 1}};
  for (auto [rate, format, channels] : devices) {
    const int asked = rate;
    const std::vector<float> samples = played_samples(rate, format, channels);
    if (asked == 48000 && channels == 2) {
      EXPECT_EQ(rate, 48000);  // kept, and converted to
    }
    const Shape played = shape_of(samples, rate);
    // A wrong rate would make the effect 8 % shorter and higher.
    EXPECT_NEAR(played.seconds, made.seconds, made.seconds * 0.04) << asked << " Hz, " << channels << " channels";
    EXPECT_NEAR(played.crossings_per_second, made.crossings_per_second, made.crossings_per_second * 0.1) << asked;
    EXPECT_NEAR(played.peak, made.peak, made.peak * 0.15) << asked << " Hz, " << channels << " channels";
  }
}

}  // namespace
