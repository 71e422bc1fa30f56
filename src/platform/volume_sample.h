#pragma once
// A change of the effects' volume plays a short sample at the new volume, so the player hears
// what was chosen. The first setting is the saved one, not a choice: it stays silent.
class VolumeSample {
 public:
  // True when this setting should be heard.
  bool wanted(int effects) {
    const bool want = known_ && effects != last_ && effects > 0;
    known_ = true;
    last_ = effects;
    return want;
  }

 private:
  bool known_ = false;
  int last_ = 0;
};
