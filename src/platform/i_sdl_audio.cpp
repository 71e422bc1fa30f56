// Sound through SDL2_mixer.
#include "platform/i_sdl_audio.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "audio/audio.h"
#include "audio/sound_mixer.h"

struct SdlAudio::State {
  SoundMixer mixer;
  SDL_mutex* lock = nullptr;
  Mix_Music* music = nullptr;
  int music_volume = 0;
  // Set only when the mixer runs at another rate or format than the effects are made for
  // (it was already open elsewhere): the effects then go through this conversion.
  SDL_AudioStream* convert = nullptr;
  Uint16 format = AUDIO_S16SYS;
  std::vector<std::int16_t> block;  // effects at their own rate, 16-bit stereo
  std::vector<Uint8> converted;     // the same, in the mixer's format
};

namespace {

constexpr int kBlockFrames = 256;
constexpr std::size_t kConvertedBytes = 64 * 1024;
constexpr off_t kMaxMusicBytes = off_t{64} << 20;

// Effects made at their own rate, converted and added to a stream of another format.
void mix_converted(SdlAudio::State& state, Uint8* stream, int bytes) {
  // Bounded, so that a stream that holds everything back can never spin the audio thread.
  for (int guard = 0; guard < 256 && SDL_AudioStreamAvailable(state.convert) < bytes; ++guard) {
    std::fill(state.block.begin(), state.block.end(), std::int16_t{0});
    state.mixer.mix(state.block.data(), kBlockFrames, 2);
    if (SDL_AudioStreamPut(state.convert, state.block.data(), static_cast<int>(state.block.size() * 2)) != 0) break;
  }
  while (bytes > 0) {
    const int want = std::min(bytes, static_cast<int>(state.converted.size()));
    const int got = SDL_AudioStreamGet(state.convert, state.converted.data(), want);
    if (got <= 0) break;
    SDL_MixAudioFormat(stream, state.converted.data(), state.format, static_cast<Uint32>(got), SDL_MIX_MAXVOLUME);
    stream += got;
    bytes -= got;
  }
}

// Runs on the audio thread after the music has been mixed into the stream.
void mix_effects(void* user, Uint8* stream, int bytes) {
  auto* state = static_cast<SdlAudio::State*>(user);
  SDL_LockMutex(state->lock);
  if (state->convert)
    mix_converted(*state, stream, bytes);
  else
    state->mixer.mix(reinterpret_cast<std::int16_t*>(stream), bytes / 4, 2);
  SDL_UnlockMutex(state->lock);
}

// The music files are optional: a missing one simply means no music. Anything but a regular
// file of a sane size (a pipe, a link to a device, a huge file) is refused with one line, so it
// can neither stall the game nor fill its memory.
SDL_RWops* open_music_file(const char* name) {
  const int fd = ::open(name, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat st {};
  const char* refused = nullptr;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
    refused = "not a regular file";
  else if (st.st_size > kMaxMusicBytes)
    refused = "larger than 64 MB";
  FILE* stream = refused ? nullptr : ::fdopen(fd, "rb");
  if (!stream) {
    if (refused) std::fprintf(stderr, "torvane: %s: %s, so no music\n", name, refused);
    ::close(fd);
    return nullptr;
  }
  return SDL_RWFromFP(stream, SDL_TRUE);
}

}  // namespace

SdlAudio::SdlAudio() : state_(std::make_unique<State>()) {
  state_->lock = SDL_CreateMutex();
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return;
  Mix_Init(MIX_INIT_MP3);
  // A small buffer keeps effects close to the frame that played them. No change to the format
  // is allowed: whatever rate, format and channel count the device insists on, SDL converts
  // to it, so the effects mixer always sees 16-bit stereo at its own rate.
  if (Mix_OpenAudioDevice(kSoundRate, AUDIO_S16SYS, 2, 1024, nullptr, 0) != 0) {
    std::fprintf(stderr, "torvane: no sound: %s\n", Mix_GetError());
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return;
  }
  int rate = 0, channels = 0;
  Uint16 format = 0;
  Mix_QuerySpec(&rate, &format, &channels);
  // The mixer can still run at another rate or format when it was already open: the effects
  // follow it.
  if (rate != kSoundRate || format != AUDIO_S16SYS || channels != 2) {
    state_->convert = SDL_NewAudioStream(AUDIO_S16SYS, 2, kSoundRate, format, static_cast<Uint8>(channels), rate);
    if (!state_->convert) {
      std::fprintf(stderr, "torvane: no sound: %d Hz, %d channels cannot be converted to\n", rate, channels);
      Mix_CloseAudio();
      SDL_QuitSubSystem(SDL_INIT_AUDIO);
      return;
    }
    state_->format = format;
    state_->block.resize(kBlockFrames * 2);
    state_->converted.resize(kConvertedBytes);
  }
  Mix_VolumeMusic(0);
  Mix_SetPostMix(mix_effects, state_.get());
  open_ = true;
}

SdlAudio::~SdlAudio() {
  if (open_) {
    Mix_SetPostMix(nullptr, nullptr);
    stop_music();
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  if (state_->convert) SDL_FreeAudioStream(state_->convert);
  if (state_->lock) SDL_DestroyMutex(state_->lock);
}

void SdlAudio::play_sound(int handle) {
  if (!open_) return;
  SDL_LockMutex(state_->lock);
  state_->mixer.play(handle);
  SDL_UnlockMutex(state_->lock);
}

void SdlAudio::play_music(const char* file_name) {
  if (!open_) return;
  stop_music();
  SDL_RWops* file = open_music_file(file_name);
  if (!file) return;
  // The name says MP3, but whatever format the file really holds is played.
  state_->music = Mix_LoadMUSType_RW(file, MUS_NONE, SDL_TRUE);
  if (!state_->music) return;
  Mix_VolumeMusic(state_->music_volume * MIX_MAX_VOLUME / 255);
  Mix_PlayMusic(state_->music, -1);
}

void SdlAudio::stop_music() {
  if (!open_ || !state_->music) return;
  Mix_HaltMusic();
  Mix_FreeMusic(state_->music);
  state_->music = nullptr;
}

void SdlAudio::set_volumes(int music, int effects) {
  if (!open_) return;
  state_->music_volume = music;
  Mix_VolumeMusic(music * MIX_MAX_VOLUME / 255);
  SDL_LockMutex(state_->lock);
  state_->mixer.set_volume(effects);
  if (sample_.wanted(effects)) state_->mixer.play(snd_tally_done);
  SDL_UnlockMutex(state_->lock);
}
