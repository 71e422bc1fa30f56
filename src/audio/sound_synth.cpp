// The sound effects, synthesised at start-up.
#include "audio/sound_synth.h"

#include <algorithm>
#include <cmath>

#include "audio/audio.h"
#include "base/game_math.h"

namespace {

constexpr double kTau = 6.283185307179586;

// A small deterministic noise source, so effects are identical on every run.
struct Noise {
  std::uint32_t state = 0x1234567u;
  double next() {
    state = state * 1664525u + 1013904223u;
    return static_cast<double>(state >> 8) / 8388608.0 - 1.0;
  }
};

// One voice of an effect: an oscillator gliding between two pitches under a decaying envelope.
struct Tone {
  double start_s, length_s;
  double from_hz, to_hz;
  double square;  // 0 sine .. 1 square: brighter
  double noise;   // share of noise mixed in
  double gain;
};

void render(std::vector<double>& out, const Tone& t, Noise& noise) {
  const int first = static_cast<int>(t.start_s * kSoundRate);
  const int count = static_cast<int>(t.length_s * kSoundRate);
  if (static_cast<int>(out.size()) < first + count) out.resize(first + count, 0.0);
  double phase = 0.0, smooth_noise = 0.0;
  for (int i = 0; i < count; ++i) {
    const double u = static_cast<double>(i) / count;
    const double hz = t.from_hz * gmath::pow(t.to_hz / t.from_hz, u);
    phase += hz / kSoundRate;
    phase -= std::floor(phase);
    const double sine = gmath::sin(kTau * phase);
    const double sq = phase < 0.5 ? 1.0 : -1.0;
    smooth_noise += (noise.next() - smooth_noise) * 0.35;
    const double tone = (1.0 - t.square) * sine + t.square * sq;
    const double attack = std::min(1.0, i / (0.004 * kSoundRate));
    const double envelope = attack * gmath::pow(1.0 - u, 2.0);
    out[first + i] += t.gain * envelope * ((1.0 - t.noise) * tone + t.noise * smooth_noise);
  }
}

std::vector<Tone> tones_for(int handle) {
  switch (handle) {
    case snd_cannon: return {{0, 0.07, 1400, 520, 0.6, 0.05, 0.45}};
    case snd_blasters: return {{0, 0.16, 420, 110, 0.5, 0.25, 0.55}};
    case snd_turn: return {{0, 0.025, 900, 700, 0.2, 0.0, 0.15}};
    case snd_laser: return {{0, 0.09, 2200, 1500, 0.7, 0.1, 0.25}};
    case snd_line_hit: return {{0, 0.22, 180, 70, 0.8, 0.45, 0.6}};
    case snd_tag:
      return {{0, 0.07, 660, 660, 0.5, 0, 0.4}, {0.06, 0.07, 880, 880, 0.5, 0, 0.4}, {0.12, 0.1, 1320, 1320, 0.5, 0, 0.4}};
    case snd_tag_bonus:
      return {{0, 0.09, 523, 523, 0.5, 0, 0.4}, {0.08, 0.09, 659, 659, 0.5, 0, 0.4},
              {0.16, 0.09, 784, 784, 0.5, 0, 0.4}, {0.24, 0.2, 1047, 1047, 0.5, 0, 0.45}};
    case snd_explosion_1: return {{0, 0.42, 160, 40, 0.3, 0.85, 0.6}};
    case snd_explosion_2: return {{0, 0.5, 120, 30, 0.3, 0.9, 0.6}};
    case snd_powerup_good: return {{0, 0.26, 400, 1600, 0.4, 0, 0.45}};
    case snd_powerup_bad: return {{0, 0.3, 900, 180, 0.7, 0.1, 0.45}};
    case snd_tally: return {{0, 0.03, 1760, 1760, 0.5, 0, 0.3}};
    case snd_tally_done:
      return {{0, 0.35, 523, 523, 0.3, 0, 0.3}, {0, 0.35, 659, 659, 0.3, 0, 0.3}, {0, 0.35, 784, 784, 0.3, 0, 0.3}};
    default: return {};
  }
}

}  // namespace

std::vector<std::int16_t> synthesise_sound(int handle) {
  Noise noise;
  noise.state += static_cast<std::uint32_t>(handle) * 7919u;
  std::vector<double> mix;
  for (const Tone& t : tones_for(handle)) render(mix, t, noise);
  std::vector<std::int16_t> samples(mix.size());
  for (std::size_t i = 0; i < mix.size(); ++i) {
    // Effects stay well inside full scale so several can sound at once.
    const double v = std::clamp(mix[i], -1.0, 1.0) * 0.6;
    samples[i] = static_cast<std::int16_t>(std::lround(v * 32767.0));
  }
  return samples;
}
