#pragma once
// Sound through SDL2_mixer: music files when they exist, and the synthesised effects mixed in
// after the music. Without a sound device every call does nothing.
#include <memory>

#include "platform/volume_sample.h"

class SdlAudio {
 public:
  SdlAudio();
  ~SdlAudio();
  SdlAudio(const SdlAudio&) = delete;
  SdlAudio& operator=(const SdlAudio&) = delete;

  void play_sound(int handle);
  void play_music(const char* file_name);
  void stop_music();
  void set_volumes(int music, int effects);

  struct State;  // shared with the audio thread's callback

 private:
  std::unique_ptr<State> state_;
  bool open_ = false;
  VolumeSample sample_;
};
