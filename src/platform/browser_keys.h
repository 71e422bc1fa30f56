#pragma once
// The browser's keys (KeyboardEvent.code, the physical key, and .key, what it means) to the
// PC set-1 scancodes the game reads and to typed-key codes, as the SDL backend maps its keys.
#include <string_view>

// The set-1 scancode of the physical key, or -1 for a key the game's keyboard does not have.
// Keypad digits share the codes of the keys printed on them (keypad 8 is Up).
int browser_key_to_set1(std::string_view code);

// What a key-down puts in the typed-key buffer: a printable character as itself, 8, 13 or 27
// for Backspace, Enter and Escape, 0xFF00 | scancode for keys without a character (arrows,
// Insert, Delete, Home, End, Page Up, Page Down, F1..F10), 0 for nothing. A keypad key types
// its digit while Num Lock is on and moves the cursor while it is off: the browser says which
// through .key.
int browser_key_to_typed(std::string_view code, std::string_view key);
