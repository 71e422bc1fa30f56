#pragma once
// The one seam between the game and the machine it runs on. The SDL backend (torvane) and
// the headless backend (torvane-headless, tests) implement it; game code never sees either.
#include <cstddef>
#include <cstdint>

struct Image;

// What the game takes from the machine besides the clock and the keys: what it reads from files
// (the settings, the high-score table, where the music is), the outcome of what it writes
// there, and the screen chosen on the command line. The game does the work itself in a
// ReadingWork; a backend runs it, a replay answers from the recording without running it.
enum class ReadingKind : std::uint8_t {
  Settings,         // the settings file's bytes; outcome 0
  SettingsSaved,    // outcome 1 when the settings were saved
  ScreenChoice,     // outcome: the command line's screen choice
  HighScores,       // the table's bytes; outcome: missing, ready or locked
  HighScoresSaved,  // outcome 1 when the table was saved
  MusicFile,        // the path the music lookup found; outcome 0
  // From replay format 4 on:
  RoundStart,       // how the session begins: a RoundOpening (0: the menu)
  NewRound,         // "Start New Game": a RoundOpening; a ticket's id and origin as bytes
  Network,          // a background request's state as the game sees it: a NetState, text bytes
};
inline constexpr int kReadingKinds = 9;
// The reading kinds a recording of format 3 or older can hold.
inline constexpr int kReadingKindsBeforeRounds = 6;

// How a round begins, as the NewRound and RoundStart readings give it.
enum class RoundOpening : std::uint8_t {
  Menu = 0,         // no round of its own (a session begins in the menu; an old recording)
  Plain = 1,        // no score server set
  Ranked = 2,       // the server gave a ticket
  Unreachable = 3,  // a server is set but gave no ticket in time: unranked
};

class Network;
struct Reading {
  int outcome = 0;
  std::size_t size = 0;  // bytes put in out
};
using ReadingWork = Reading (*)(void* context, char* out, std::size_t capacity);

class Platform {
 public:
  virtual ~Platform() = default;

  // Opens or reopens the 640x480 display; false when it cannot be opened.
  virtual bool open_display(bool full_screen) = 0;
  // Shows a finished page. Called exactly once per shown frame.
  virtual void present(const Image& page) = 0;
  // Brings key events into the input state (system/input.h).
  virtual void pump_events() = 0;
  // Monotonic seconds since an arbitrary origin.
  virtual double now_seconds() = 0;
  // Gives the processor away; events keep being pumped meanwhile.
  virtual void sleep_ms(int ms) = 0;
  virtual void set_mouse(int x, int y, int visible, int clip) = 0;
  // The window's icon; backends without a window ignore it.
  virtual void set_icon(const Image& icon) { (void)icon; }
  // Sound. Backends without an audio device (or the headless one) do nothing; nothing waits.
  virtual void play_sound(int handle) { (void)handle; }
  virtual void play_music(const char* file_name) { (void)file_name; }
  virtual void stop_music() {}
  // 0..255 each.
  virtual void set_volumes(int music, int effects) {
    (void)music;
    (void)effects;
  }
  // Does a reading's work (the default) or answers it otherwise; out holds capacity bytes.
  virtual Reading take_reading(ReadingKind kind, char* out, std::size_t capacity, ReadingWork work, void* context) {
    (void)kind;
    return work(context, out, capacity);
  }
  // The score server's client; none in a replay (the answers come from the recording) or where
  // the backend has no network. Only a reading's work may use it.
  virtual Network* network() { return nullptr; }
  // True while the game waits for typed characters (the name entry): a backend whose keyboard
  // comes and goes, as a touch screen's, offers it then.
  virtual void typing_wanted(bool wanted) { (void)wanted; }
  // Called once as the process ends through program_exit.
  virtual void shutdown(int exit_code) { (void)exit_code; }
};

// The installed backend; a do-nothing display with a real clock when none is installed.
Platform& platform();
void platform_install(Platform* backend);

// Ends the program from anywhere (the menu's "Exit", the window's close button, the headless
// runner's end of time). Unwinds to main(), which returns the code.
struct ProgramExit {
  int code;
};
[[noreturn]] void program_exit(int code);
