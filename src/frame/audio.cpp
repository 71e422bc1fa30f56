#include "frame/audio.h"

// The hooks do nothing: the game's sound is optional and nothing waits on it.
void audio_play_sound(std::int32_t) {}
void audio_play_music(std::string_view) {}
void audio_stop_music() {}
void audio_apply_volume() {}
