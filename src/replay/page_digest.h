#pragma once
// One 64-bit value for every page shown so far: each page is hashed with the value before it
// as the seed, so two runs that showed the same pages in the same order end with the same one.
#include <cstdint>

struct Image;

// 0 before the first page.
std::uint64_t page_digest_chain(std::uint64_t previous, const Image& page);

// The same kind of chain over what the game asks the sound hooks to do (a kind and a value per
// call), so runs that differ only in their sounds tell apart too. Every backend and wrapper
// that keeps one folds the four hooks in the same way.
class SoundDigest {
 public:
  void play_sound(int handle) { chain(1, handle); }
  // The file's name only, as where it was found depends on the machine.
  void play_music(const char* file_name);
  void stop_music() { chain(3, 0); }
  void set_volumes(int music, int effects) { chain(4, music * 1000 + effects); }
  std::uint64_t value() const { return value_; }

 private:
  void chain(std::uint32_t kind, std::int64_t value);
  std::uint64_t value_ = 0;  // 0 before the first call
};
