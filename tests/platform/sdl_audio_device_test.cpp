// The sound backend on SDL's disk driver, which writes what the device plays to a file: the
// effects must reach it whatever rate the device runs at.
#include "platform/i_sdl_audio.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

// The 16-bit samples the device was given while an effect played on it at full volume.
std::vector<std::int16_t> played_samples(int device_rate) {
  char path[] = "/tmp/torvane_audio_XXXXXX";
  const int fd = mkstemp(path);
  close(fd);
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", path, 1);
  EXPECT_EQ(SDL_InitSubSystem(SDL_INIT_AUDIO), 0) << SDL_GetError();
  // The device as it was opened before the game asked for it.
  EXPECT_EQ(Mix_OpenAudioDevice(device_rate, AUDIO_S16SYS, 2, 1024, nullptr, 0), 0) << Mix_GetError();
  {
    SdlAudio audio;
    audio.set_volumes(0, 255);
    audio.play_sound(1);
    SDL_Delay(300);
  }
  Mix_CloseAudio();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  std::ifstream in(path, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), {}};
  std::filesystem::remove(path);
  std::vector<std::int16_t> samples(bytes.size() / 2);
  std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
  return samples;
}

TEST(SdlAudioDevice, EffectsPlayOnADeviceAt48kHzAsOnOneAt44_1kHz) {
  for (int rate : {44100, 48000}) {
    const std::vector<std::int16_t> samples = played_samples(rate);
    const auto loud = std::ranges::count_if(samples, [](std::int16_t s) { return s > 1000 || s < -1000; });
    EXPECT_GT(samples.size(), 2000u) << rate;
    EXPECT_GT(loud, 500) << rate;
  }
}

}  // namespace
