#pragma once
// The key script of a headless run: one event per line, in virtual milliseconds.
//   <ms> down KEY | <ms> up KEY | <ms> tap KEY | <ms> type TEXT | <ms> close | <ms> signal SIG
// '#' starts a comment; blank lines are allowed. A tap is a down and, 100 ms later, an up.
// A down (or tap) of a key that types also puts its character in the typed-key buffer. close
// is the window's close button; signal HUP, TERM or INT sends the runner that signal.
#include <string>
#include <string_view>
#include <vector>

#include "headless/headless_platform.h"

constexpr std::int64_t kTapHoldMs = 100;
// The longest script file read.
constexpr std::size_t kMaxScriptBytes = std::size_t{4} << 20;

struct ScriptParse {
  std::vector<ScriptEvent> events;  // sorted by time, stable
  std::string error;                // empty on success; names the line number and text
};

ScriptParse parse_script(std::string_view text);

// Reads and parses a script file; the error also covers a file that cannot be read.
ScriptParse load_script(const std::string& path);
