#pragma once
// Keyboard by PC set-1 scancode, the typed-key ring, clock and sleep.
#include <cstdint>
#include <span>
#include <string>

// Scancodes the game reads.
enum Scancode : int {
  kKeyEscape = 1,
  kKey1 = 2,
  kKey2 = 3,
  kKey3 = 4,
  kKeyBackspace = 14,
  kKeyY = 21,
  kKeyEnter = 28,
  kKeyS = 31,
  kKeyF = 33,
  kKeyX = 45,
  kKeyN = 49,
  kKeySpace = 57,
  kKeyUp = 72,
  kKeyLeft = 75,
  kKeyRight = 77,
  kKeyDown = 80,
};

// -1 while the key is held, 0 otherwise (and for scancodes outside 0..127).
int key_down(int scancode);
// The next typed key: one character, or 255 followed by the scancode for keys without one;
// empty when nothing is waiting.
std::string key_read();
// Alt+Enter presses since the last call.
int take_full_screen_switches();
// True when the window lost the focus, or a controller was pulled out, since the last call.
bool take_focus_lost();
double timer_seconds();
void sleep_ms(int ms);

// Fed by the platform backends.
void input_key_event(int scancode, bool down);
// code < 256: a character; otherwise 0xFF00 | scancode for a key without one.
void input_typed_key(std::uint16_t code);
void input_release_all_keys();

// The whole input state as raw bytes, for recording and replaying what the game reads. The
// layout is fixed and its numbers low byte first, so a recording plays on a machine of either
// byte order; a recording notes its size.
std::span<std::uint8_t> input_state_bytes();
// What makes bytes no input state of this build ("" when they could be one): a field out of
// its range, such as a ring index past the ring. A recording's input is checked with it before
// the game is given any, so an edited file can never make the game read out of bounds.
std::string input_state_problem(std::span<const std::uint8_t> bytes);
// The held state without pumping events (for backends, which must not re-enter the seam).
bool input_key_held(int scancode);
// The next typed key as input_typed_key had it, 0 when none waits; pumps no events either.
std::uint16_t input_take_typed();

void input_full_screen_switch();
void input_focus_lost();
// A controller in use went away (battery, cable): the round pauses as on a lost focus.
void input_controller_removed();

// The window's close button ends the program at once, except while a finished game's score
// is still to be kept (the tally, the record question, the name entry hold close requests):
// then it is only noted, and those screens finish and save first.
void input_close_request();
void hold_close_requests(bool hold);
// SIGHUP, SIGTERM and SIGINT (a closed terminal, a logout, Ctrl+C) take the close button's
// path. The handler only notes the signal; the backends' event pumps pass it on with
// pass_close_signals(), in the game's own thread.
void catch_close_signals();
void pass_close_signals();
// True once a held close request came. It pumps no events, as that would be one more call into
// the platform than a recording has: the screens ask right after reading keys.
bool close_requested();
