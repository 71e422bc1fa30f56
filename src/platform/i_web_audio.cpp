// Sound in the page through Web Audio.
#include "platform/i_web_audio.h"

#include <emscripten.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "audio/audio.h"
#include "audio/sound_mixer.h"

namespace {

// Made at the first gesture: synthesising every effect is work the first frame need not wait for.
std::unique_ptr<SoundMixer> mixer;
std::vector<std::int16_t> block;  // 16-bit stereo at the effects' own rate

// A ScriptProcessorNode asks for blocks on the page's own thread, between the game's frames
// (the game sleeps through emscripten_sleep), so the mixer needs no lock. A context that
// will not run at the effects' rate is fed by stepping through them at its rate.
EM_JS(void, web_audio_open, (int rate), {
  if (Module.torvaneAudio) return;
  const Context = window.AudioContext || window.webkitAudioContext;
  if (!Context) return;
  let context;
  try { context = new Context({sampleRate: rate}); } catch (e) { context = new Context(); }
  const node = context.createScriptProcessor(1024, 0, 2);
  const step = rate / context.sampleRate;
  node.onaudioprocess = (event) => {
    const left = event.outputBuffer.getChannelData(0), right = event.outputBuffer.getChannelData(1);
    const frames = Math.ceil(left.length * step) + 1;
    const at = Module._web_audio_mix(frames) >> 1;
    for (let i = 0; i < left.length; ++i) {
      const s = at + 2 * Math.floor(i * step);
      left[i] = HEAP16[s] / 32768;
      right[i] = HEAP16[s + 1] / 32768;
    }
  };
  node.connect(context.destination);
  if (context.resume) context.resume().catch(() => {});
  Module.torvaneAudio = context;
});

// The music element plays Sounds/<name> beside the page, looping; a missing file is silence.
EM_JS(void, web_music_play, (const char* name, double volume), {
  let music = Module.torvaneMusic;
  if (!music) {
    music = Module.torvaneMusic = new Audio();
    music.loop = true;
    music.addEventListener('error', () => {});
  }
  const url = 'Sounds/' + encodeURIComponent(UTF8ToString(name));
  music.volume = volume;
  if (!music.src.endsWith(url)) music.src = url;
  music.play().catch(() => {});
});

EM_JS(void, web_music_pause, (), {
  if (Module.torvaneMusic) Module.torvaneMusic.pause();
});

// Counted for the page's test, which hears nothing.
EM_JS(void, web_note_volume_sample, (), { Module.volumeSamples = (Module.volumeSamples | 0) + 1; });

}  // namespace

extern "C" EMSCRIPTEN_KEEPALIVE std::int16_t* web_audio_mix(int frames) {
  block.assign(static_cast<std::size_t>(std::max(frames, 0)) * 2, 0);
  if (mixer) mixer->mix(block.data(), frames, 2);
  return block.data();
}

void WebAudio::start() {
  if (started_) return;
  started_ = true;
  mixer = std::make_unique<SoundMixer>();
  mixer->set_volume(effects_volume_);
  web_audio_open(kSoundRate);
  update_music();
}

void WebAudio::play_sound(int handle) {
  if (mixer) mixer->play(handle);
}

void WebAudio::play_music(const char* file_name) {
  // Where the desktop looks for the file does not matter here: only its name.
  std::string_view name = file_name ? file_name : "";
  if (const auto slash = name.rfind('/'); slash != std::string_view::npos) name.remove_prefix(slash + 1);
  tune_ = name;
  update_music();
}

void WebAudio::stop_music() {
  tune_.clear();
  update_music();
}

void WebAudio::set_volumes(int music, int effects) {
  const bool sample = sample_.wanted(effects);
  music_volume_ = music;
  effects_volume_ = effects;
  if (mixer) mixer->set_volume(effects);
  if (mixer && sample) {
    mixer->play(snd_tally_done);
    web_note_volume_sample();
  }
  update_music();
}

void WebAudio::update_music() {
  // Nothing is fetched while the music is silent: a player without the files hears nothing
  // either way, and the page asks the server for nothing it would not play.
  if (!started_ || tune_.empty() || music_volume_ <= 0) {
    web_music_pause();
    return;
  }
  web_music_play(tune_.c_str(), music_volume_ / 255.0);
}
