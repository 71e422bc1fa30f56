// --autoplay: a built-in player that plays whole rounds.
#include "headless/autoplay.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "headless/autoplay_steer.h"
#include "screens/high_scores.h"
#include "state/round_state.h"
#include "system/i_platform.h"
#include "system/input.h"

namespace {

std::atomic<bool> counting{false};
std::atomic<bool> counting_available{false};
std::atomic<std::uint64_t> allocations{0};
std::chrono::steady_clock::time_point clock_start = std::chrono::steady_clock::now();

constexpr int kTapCooldownFrames = 8;

void set_key(Autoplayer& p, int scancode, bool down) {
  if (p.held[scancode] == down) return;
  p.held[scancode] = down;
  input_key_event(scancode, down);
}

// A menu key goes down for one frame, then stays up for a while, so every screen sees one
// clean press and none inherits a held key.
void tap(Autoplayer& p, int scancode) {
  if (p.tap_key != 0 || p.tap_cooldown > 0) return;
  set_key(p, scancode, true);
  p.tap_key = scancode;
}

void release_play_keys(Autoplayer& p) {
  for (int key : {kKeyLeft, kKeyRight, kKeySpace, kKey1, kKey2, kKey3}) set_key(p, key, false);
}

void take_round_fields(RoundResult& r) {
  const RoundState& rs = round_state;
  r.phase = rs.phase;
  r.energy = rs.energy;
  r.round_seconds = rs.round_seconds;
  r.game_over = rs.game_over;
}

// Back in the menu: the round is over whether or not it had a final score.
void close_round(Autoplayer& p) {
  if (!p.tally_seen) {
    take_round_fields(p.current);
    p.current.score_before_final = round_state.score;
    p.current.final_score = round_state.score;
  }
  alloc_counting(false);
  p.results.push_back(p.current);
  p.rss_kb_per_round.push_back(resident_kb());
  p.in_round = false;
  p.tally_seen = false;
}

void play_round(Autoplayer& p) {
  const SteerChoice c = autoplay_steer();
  set_key(p, kKeyLeft, c.turn > 0);
  set_key(p, kKeyRight, c.turn < 0);
  set_key(p, kKeySpace, c.fire);
  set_key(p, kKey1, c.weapon_key == 1);
  set_key(p, kKey2, c.weapon_key == 2);
  set_key(p, kKey3, c.weapon_key == 3);
}

}  // namespace

void autoplay_on_present(Autoplayer& p, const Image& page, std::int64_t now_us) {
  const ScreenView view = classify_screen(page);

  // What happened to the round, watched whether or not we play.
  switch (view.screen) {
    case Screen::Round:
      if (!p.in_round) {
        p.in_round = true;
        p.tally_seen = false;
        p.current = RoundResult{};
        p.current.start_ms = now_us / 1000;
        alloc_counting(true);
      }
      if (p.current.end_ms < 0 && (round_state.game_over == 1 || round_state.phase == 8))
        p.current.end_ms = now_us / 1000;
      break;
    case Screen::FinalScore:
      if (p.in_round && !p.tally_seen) {
        // The count-up starts at frame 31; the title shows from frame 6.
        p.tally_seen = true;
        alloc_counting(false);
        take_round_fields(p.current);
        p.current.score_before_final = round_state.score;
      }
      if (p.tally_seen && view.continue_shown) p.current.final_score = round_state.score;
      break;
    case Screen::Menu:
      if (p.startup_ms < 0.0) p.startup_ms = autoplay_clock_ms();
      if (p.in_round) close_round(p);
      if (p.rounds_wanted > 0 && static_cast<int>(p.results.size()) >= p.rounds_wanted) {
        autoplay_release_all(p);
        program_exit(0);
      }
      break;
    default:
      break;
  }
  if (!p.enabled) return;

  if (p.tap_key != 0) {
    set_key(p, p.tap_key, false);
    p.tap_key = 0;
    p.tap_cooldown = kTapCooldownFrames;
  } else if (p.tap_cooldown > 0) {
    --p.tap_cooldown;
  }
  if (view.screen != Screen::NameEntry) p.name_typed = false;
  if (view.screen != Screen::Round) release_play_keys(p);

  switch (view.screen) {
    case Screen::Round:
      play_round(p);
      break;
    case Screen::FinalScore:
      if (view.continue_shown) tap(p, kKeyEnter);
      break;
    case Screen::RecordPrompt:
      tap(p, kKeyY);
      break;
    case Screen::NameEntry:
      if (!p.name_typed) {
        for (char ch : {'A', 'U', 'T', 'O'}) input_typed_key(static_cast<std::uint16_t>(ch));
        p.name_typed = true;
      } else if (hs_name == "AUTO") {
        tap(p, kKeyEnter);
      }
      break;
    case Screen::HighScores:
      tap(p, kKeyEnter);
      break;
    case Screen::Menu:
      tap(p, view.menu_item == 1 ? kKeyEnter : kKeyUp);
      break;
    case Screen::Unknown:
      break;
  }
}

void autoplay_release_all(Autoplayer& p) {
  for (int key = 0; key < 128; ++key) set_key(p, key, false);
  p.tap_key = 0;
}

void autoplay_start_over(Autoplayer& player) {
  player.in_round = false;
  alloc_counting(false);
}

void alloc_counting(bool on) { counting.store(on, std::memory_order_relaxed); }
bool alloc_counting_on() { return counting.load(std::memory_order_relaxed); }
bool alloc_counting_available() { return counting_available.load(std::memory_order_relaxed); }
std::uint64_t alloc_count() { return allocations.load(std::memory_order_relaxed); }
void alloc_counting_mark_available() { counting_available.store(true, std::memory_order_relaxed); }
void alloc_count_add() {
  if (counting.load(std::memory_order_relaxed)) allocations.fetch_add(1, std::memory_order_relaxed);
}

long resident_kb() {
  std::FILE* f = std::fopen("/proc/self/status", "r");
  if (!f) return -1;
  char line[256];
  long kb = -1;
  while (std::fgets(line, sizeof line, f)) {
    if (std::strncmp(line, "VmRSS:", 6) == 0) {
      kb = std::strtol(line + 6, nullptr, 10);
      break;
    }
  }
  std::fclose(f);
  return kb;
}

void autoplay_clock_start() { clock_start = std::chrono::steady_clock::now(); }
double autoplay_clock_ms() {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - clock_start)
      .count();
}
