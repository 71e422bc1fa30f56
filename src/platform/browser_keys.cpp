// The browser's key codes to the game's scancodes.
#include "platform/browser_keys.h"

#include <array>
#include <utility>

namespace {

using Entry = std::pair<std::string_view, int>;

// The same keys the SDL backend knows, by the browser's names.
constexpr std::array kCodes = {
    Entry{"Escape", 1},        Entry{"Minus", 12},        Entry{"Equal", 13},        Entry{"Backspace", 14},
    Entry{"Tab", 15},          Entry{"KeyQ", 16},         Entry{"KeyW", 17},         Entry{"KeyE", 18},
    Entry{"KeyR", 19},         Entry{"KeyT", 20},         Entry{"KeyY", 21},         Entry{"KeyU", 22},
    Entry{"KeyI", 23},         Entry{"KeyO", 24},         Entry{"KeyP", 25},         Entry{"BracketLeft", 26},
    Entry{"BracketRight", 27}, Entry{"Enter", 28},        Entry{"NumpadEnter", 28},  Entry{"ControlLeft", 29},
    Entry{"KeyA", 30},         Entry{"KeyS", 31},         Entry{"KeyD", 32},         Entry{"KeyF", 33},
    Entry{"KeyG", 34},         Entry{"KeyH", 35},         Entry{"KeyJ", 36},         Entry{"KeyK", 37},
    Entry{"KeyL", 38},         Entry{"Semicolon", 39},    Entry{"Quote", 40},        Entry{"Backquote", 41},
    Entry{"ShiftLeft", 42},    Entry{"Backslash", 43},    Entry{"KeyZ", 44},         Entry{"KeyX", 45},
    Entry{"KeyC", 46},         Entry{"KeyV", 47},         Entry{"KeyB", 48},         Entry{"KeyN", 49},
    Entry{"KeyM", 50},         Entry{"Comma", 51},        Entry{"Period", 52},       Entry{"Slash", 53},
    Entry{"ShiftRight", 54},   Entry{"AltLeft", 56},      Entry{"Space", 57},        Entry{"CapsLock", 58},
    Entry{"Home", 71},         Entry{"Numpad7", 71},      Entry{"ArrowUp", 72},      Entry{"Numpad8", 72},
    Entry{"PageUp", 73},       Entry{"Numpad9", 73},      Entry{"ArrowLeft", 75},    Entry{"Numpad4", 75},
    Entry{"Numpad5", 76},      Entry{"ArrowRight", 77},   Entry{"Numpad6", 77},      Entry{"End", 79},
    Entry{"Numpad1", 79},      Entry{"ArrowDown", 80},    Entry{"Numpad2", 80},      Entry{"PageDown", 81},
    Entry{"Numpad3", 81},      Entry{"Insert", 82},       Entry{"Numpad0", 82},      Entry{"Delete", 83},
    Entry{"NumpadDecimal", 83}, Entry{"F11", 87},         Entry{"F12", 88},
};

// Keys whose .key names a key without a character.
constexpr std::array<std::string_view, 10> kCursorKeys = {"ArrowUp", "ArrowDown", "ArrowLeft", "ArrowRight", "Insert",
                                                          "Delete",  "Home",      "End",       "PageUp",     "PageDown"};

// "Digit1".."Digit0" and "F1".."F10": the rows the set numbers one after another.
int numbered(std::string_view code, std::string_view prefix, int first_code, int count) {
  if (code.substr(0, prefix.size()) != prefix) return -1;
  const std::string_view number = code.substr(prefix.size());
  if (number.empty() || number.size() > 2) return -1;
  int n = 0;
  for (const char c : number) {
    if (c < '0' || c > '9') return -1;
    n = n * 10 + (c - '0');
  }
  if (prefix == "Digit") {
    if (number.size() != 1) return -1;
    n = n == 0 ? 10 : n;  // the 0 key sits after 9
  }
  return n >= 1 && n <= count ? first_code + n - 1 : -1;
}

}  // namespace

int browser_key_to_set1(std::string_view code) {
  if (const int digit = numbered(code, "Digit", 2, 10); digit >= 0) return digit;
  if (const int f = numbered(code, "F", 59, 10); f >= 0) return f;
  for (const auto& [name, scancode] : kCodes)
    if (name == code) return scancode;
  return -1;
}

int browser_key_to_typed(std::string_view code, std::string_view key) {
  if (key.size() == 1 && key[0] >= 32 && key[0] <= 126) return key[0];
  if (key == "Backspace") return 8;
  if (key == "Enter") return 13;
  if (key == "Escape") return 27;
  const int scancode = browser_key_to_set1(code);
  if (scancode < 0) return 0;
  for (const std::string_view cursor : kCursorKeys)
    if (key == cursor) return 0xFF00 | scancode;
  if (numbered(code, "F", 59, 10) >= 0) return 0xFF00 | scancode;
  return 0;
}
