#pragma once
// --autoplay: a built-in player. Once per shown frame it looks at the page and at what the page
// shows (the tables and round_state), decides, and presses or releases keys through the same
// key state the game reads. It plays rounds, goes through the final score, records its score
// as "AUTO" and stops in the menu after the requested number of rounds.
#include <cstdint>
#include <vector>

#include "gfx/gfx.h"
#include "headless/autoplay_screens.h"

struct RoundResult {
  int phase = 0;
  int score_before_final = 0;
  int final_score = 0;
  double energy = 0.0;
  int round_seconds = 0;
  int game_over = 0;
  std::int64_t start_ms = -1;  // virtual ms of the round's first ordinary frame shown
  std::int64_t end_ms = -1;    // virtual ms of the first frame shown with the round over
                               // (energy gone or phase 8); -1 if it was abandoned before
};

struct Autoplayer {
  bool enabled = false;     // false: only watches (startup time, round results)
  int rounds_wanted = 0;    // > 0: stop in the menu once this many rounds are over

  // What the player sees and has done.
  bool in_round = false;
  bool tally_seen = false;
  RoundResult current;
  std::vector<RoundResult> results;
  std::vector<long> rss_kb_per_round;
  double startup_ms = -1.0;  // wall clock from the runner's start to the first menu frame

  // Keys held by the player (scancode -> held), and the menu-key tap in progress.
  bool held[128] = {};
  int tap_key = 0;
  int tap_cooldown = 0;
  bool name_typed = false;
};

// Called with every shown page and the virtual time it is shown at. May end the program
// (ProgramExit 0) once the last wanted round is over and the menu is back.
void autoplay_on_present(Autoplayer& player, const Image& page, std::int64_t now_us);

// Lets go of every key the player holds.
void autoplay_release_all(Autoplayer& player);
// A playback starts over (a jump back): the round under way is dropped, not a result, and
// start-up allocates again as at program start.
void autoplay_start_over(Autoplayer& player);

// Heap allocations are counted while this is set (by the runner executable's operator new).
void alloc_counting(bool on);
bool alloc_counting_on();
bool alloc_counting_available();
std::uint64_t alloc_count();
// Set by an operator new that counts.
void alloc_counting_mark_available();
void alloc_count_add();

// VmRSS of this process in kB, or -1.
long resident_kb();
// Milliseconds of wall-clock time since the runner started (started by autoplay_clock_start).
void autoplay_clock_start();
double autoplay_clock_ms();
