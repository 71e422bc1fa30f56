#pragma once
// Sound in the page: the game's own effects mixer pulled by Web Audio, and the music from
// Sounds/ beside the page through an <audio> element. Browsers let a page make sound only
// after a key or a click: until start(), effects are dropped and no music is fetched.
#include <string>

#include "platform/volume_sample.h"

class WebAudio {
 public:
  // From inside a key or click handler; later calls do nothing.
  void start();
  void play_sound(int handle);
  void play_music(const char* file_name);
  void stop_music();
  void set_volumes(int music, int effects);

 private:
  void update_music();

  bool started_ = false;
  VolumeSample sample_;
  int music_volume_ = 0;
  int effects_volume_ = 0;
  std::string tune_;  // file name under Sounds/, empty for none
};
