// Mixing the synthesised effects into the audio stream.
#include "audio/sound_mixer.h"

#include <cmath>

namespace {
constexpr int kFadeSamples = 220;  // 5 ms: a stolen voice fades instead of clicking off

// A gentle limiter: linear up to 3/4 of full scale, then bending smoothly towards it, so a
// pile of explosions gets louder without ever wrapping or clipping hard.
std::int16_t soft_limit(double v) {
  const double knee = 24576.0, ceiling = 32767.0;
  const double a = std::fabs(v);
  if (a > knee) {
    const double over = a - knee;
    const double room = ceiling - knee;
    const double bent = knee + room * (over / (over + room));
    v = v < 0 ? -bent : bent;
  }
  return static_cast<std::int16_t>(std::lround(v));
}
}  // namespace

SoundMixer::SoundMixer() {
  for (int h = 1; h <= kSoundCount; ++h) effects_[h] = synthesise_sound(h);
}

void SoundMixer::play(int handle) {
  if (handle < 1 || handle > kSoundCount || sfx_volume_ <= 0) return;
  ++plays_;
  // Too many of the same sound: fade the oldest of them out and take a fresh voice.
  int same = 0;
  Voice* oldest_same = nullptr;
  for (Voice& v : voices_)
    if (v.handle == handle && v.fade_left == 0) {
      ++same;
      if (!oldest_same || v.started < oldest_same->started) oldest_same = &v;
    }
  if (same >= kMaxSameSound && oldest_same) oldest_same->fade_left = kFadeSamples;
  Voice* slot = nullptr;
  for (Voice& v : voices_)
    if (v.handle == 0) {
      slot = &v;
      break;
    }
  if (!slot) {  // all busy: steal the oldest voice
    slot = &voices_[0];
    for (Voice& v : voices_)
      if (v.started < slot->started) slot = &v;
  }
  *slot = Voice{handle, 0, 0, plays_};
}

void SoundMixer::mix(std::int16_t* out, int frames, int channels) {
  const double gain = sfx_volume_ / 255.0;
  for (int f = 0; f < frames; ++f) {
    double sum = 0.0;
    for (Voice& v : voices_) {
      if (v.handle == 0) continue;
      const std::vector<std::int16_t>& s = effects_[v.handle];
      double sample = s[v.position];
      if (v.fade_left > 0) {
        sample *= static_cast<double>(v.fade_left) / kFadeSamples;
        if (--v.fade_left == 0) v.handle = 0;
      }
      sum += sample;
      if (++v.position >= s.size()) v.handle = 0;
    }
    for (int c = 0; c < channels; ++c) {
      std::int16_t& o = out[f * channels + c];
      o = soft_limit(o + sum * gain);
    }
  }
}

int SoundMixer::active_voices() const {
  int n = 0;
  for (const Voice& v : voices_) n += v.handle != 0;
  return n;
}
