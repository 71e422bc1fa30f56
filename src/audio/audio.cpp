// The sound hooks, passed on to the platform.
#include "audio/audio.h"

#include "system/i_platform.h"

std::int32_t audio_music_volume = 0;
std::int32_t audio_sfx_volume = 0;

void audio_play_sound(std::int32_t sound) { platform().play_sound(sound); }

void audio_play_music(std::string_view file_name) {
  char name[4096];  // a whole path: the music may live under the user's data folder
  const std::size_t n = file_name.size() < sizeof name - 1 ? file_name.size() : sizeof name - 1;
  file_name.copy(name, n);
  name[n] = '\0';
  platform().play_music(name);
}

void audio_stop_music() { platform().stop_music(); }

void audio_apply_volume() { platform().set_volumes(audio_music_volume, audio_sfx_volume); }
