#pragma once
// The headless backend: no window, and a virtual clock that moves only when the program
// sleeps, so a run is deterministic and as fast as the CPU allows. Scripted key events take
// effect the moment the clock reaches them, also inside waits.
#include <cstdint>
#include <functional>
#include <vector>

#include "replay/page_digest.h"
#include "system/i_platform.h"
#include "system/network.h"

struct ScriptEvent {
  std::int64_t at_ms;
  // Close: the window's close button. Signal: the runner sends itself a real signal.
  enum class Kind { Down, Up, Type, Close, Signal } kind;
  int scancode;       // Down/Up; Signal: the signal's number
  std::uint16_t typed;  // Type: the typed-key code (see input_typed_key)
};

class HeadlessPlatform : public Platform {
 public:
  explicit HeadlessPlatform(double clock_origin = 1000.0);

  // Events must be sorted by time (stable for equal times).
  void set_script(std::vector<ScriptEvent> events);
  // Stop the program (ProgramExit with code 0) once the clock reaches this time.
  void set_stop_at_ms(std::int64_t ms) { stop_at_us_ = ms * 1000; }
  // Called with every presented page, after the clock's time of presentation is known.
  void set_present_hook(std::function<void(const Image&, std::int64_t now_us)> hook) {
    present_hook_ = std::move(hook);
  }

  bool open_display(bool full_screen) override;
  void present(const Image& page) override;
  void pump_events() override {}
  double now_seconds() override;
  void sleep_ms(int ms) override;
  void set_mouse(int, int, int, int) override {}
  // No sound is made; each call is folded into sound_digest().
  void play_sound(int handle) override;
  void play_music(const char* file_name) override;
  void stop_music() override;
  void set_volumes(int music, int effects) override;
  void typing_wanted(bool wanted) override { typing_wanted_ = wanted; }

  // The score server's client this runner hands the game (none by default).
  void set_network(Network* network) { network_ = network; }
  Network* network() override { return network_; }

  std::int64_t now_us() const { return now_us_; }
  bool typing_wanted() const { return typing_wanted_; }
  std::int64_t frames_shown() const { return frames_shown_; }
  bool full_screen() const { return full_screen_; }
  std::uint64_t sound_digest() const { return sound_digest_.value(); }

 private:
  void advance_to(std::int64_t target_us);
  void apply_due_events();

  double origin_;
  std::int64_t now_us_ = 0;
  std::int64_t stop_at_us_ = -1;
  std::vector<ScriptEvent> events_;
  std::size_t next_event_ = 0;
  std::function<void(const Image&, std::int64_t)> present_hook_;
  std::int64_t frames_shown_ = 0;
  bool full_screen_ = false;
  bool typing_wanted_ = false;
  SoundDigest sound_digest_;
  Network* network_ = nullptr;
};
