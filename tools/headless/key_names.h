#pragma once
// Key names of the script, as PC set-1 scancodes, and what each key types.
#include <cstdint>
#include <optional>
#include <string_view>

// ESC, ENTER, SPACE, LEFT, RIGHT, UP, DOWN, BACKSPACE, F1..F10, a digit or a letter, in any
// case; nothing for an unknown name.
std::optional<int> scancode_for_key_name(std::string_view name);

// The typed-key code a press of the key puts in the typed-key buffer (see input_typed_key):
// letters in lower case, digits, Enter 13, Escape 27, Backspace 8, 0xFF00|scancode for the
// arrows and F-keys, Space as ' ' like a real keyboard; nothing for other keys.
std::optional<std::uint16_t> typed_code_for_scancode(int scancode);
