#pragma once
// Mixes the synthesised effects into the audio stream. Not thread-safe by itself: the backend
// that pulls samples on its audio thread locks around every call.
#include <array>
#include <cstdint>
#include <vector>

#include "audio/sound_synth.h"

class SoundMixer {
 public:
  static constexpr int kVoices = 24;
  static constexpr int kMaxSameSound = 4;  // rapid fire re-uses the oldest voice of its sound

  // Synthesises every effect once.
  SoundMixer();

  void play(int handle);
  // 0..255, as the options screen's levels give it.
  void set_volume(int sfx_volume) { sfx_volume_ = sfx_volume; }
  // Adds the effects into `out` (interleaved channels, 16-bit), which may already hold music.
  void mix(std::int16_t* out, int frames, int channels);
  int active_voices() const;

 private:
  struct Voice {
    int handle = 0;      // 0: free
    std::size_t position = 0;
    int fade_left = 0;   // samples of a quick fade-out before the voice is reused
    std::uint64_t started = 0;
  };
  std::array<std::vector<std::int16_t>, kSoundCount + 1> effects_;
  std::array<Voice, kVoices> voices_{};
  std::uint64_t plays_ = 0;
  int sfx_volume_ = 0;
};
