#pragma once
// SDL's physical keys to the PC set-1 scancodes the game reads, and the typed-key codes of
// the keys that have no character.
#include <SDL2/SDL_scancode.h>

// The set-1 scancode of a key, or -1 for a key the game's keyboard does not have. Keypad
// digits share the codes of the keys printed on them (keypad 8 is Up), as on a PC keyboard.
int sdl_key_to_set1(SDL_Scancode key);

// What a key-down puts in the typed-key buffer when no text event carries it: 8, 13 or 27
// for Backspace, Enter and Escape, 0xFF00 | scancode for keys without a character (arrows,
// Insert, Delete, Home, End, Page Up, Page Down, F1..F10), 0 for nothing. Keypad keys give
// their cursor meaning only while Num Lock is off; with it on, they type digits as text.
int sdl_key_to_typed(SDL_Scancode key, bool num_lock);
