// Reading the key script of a headless run.
#include "headless/script.h"

#include <algorithm>
#include <csignal>

#include "headless/key_names.h"
#include "headless/parse_number.h"
#include "system/plain_file.h"

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim(std::string_view s) {
  while (!s.empty() && is_blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && is_blank(s.back())) s.remove_suffix(1);
  return s;
}

// Takes the next blank-separated word off the front of s.
std::string_view next_word(std::string_view& s) {
  while (!s.empty() && is_blank(s.front())) s.remove_prefix(1);
  std::size_t end = 0;
  while (end < s.size() && !is_blank(s[end])) ++end;
  const std::string_view word = s.substr(0, end);
  s.remove_prefix(end);
  return word;
}

std::string lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return out;
}

// Parses one line (comment already removed) into events; returns an error text or "".
std::string parse_line(std::string_view body, std::vector<ScriptEvent>& out) {
  std::string_view rest = body;
  const std::string_view time_word = next_word(rest);
  std::int64_t ms = 0;
  if (!parse_whole_ms(time_word, ms)) return "time '" + std::string(time_word) + "' is not a non-negative whole number of milliseconds";
  const std::string_view verb_word = next_word(rest);
  if (verb_word.empty()) return "missing action after the time (down, up, tap, type, close or signal)";
  const std::string verb = lower(verb_word);

  if (verb == "close") {
    if (!trim(rest).empty()) return "unexpected text after close: '" + std::string(trim(rest)) + "'";
    out.push_back({ms, ScriptEvent::Kind::Close, 0, 0});
    return "";
  }
  if (verb == "signal") {
    const std::string name = lower(trim(rest));
    const int number = name == "hup" ? SIGHUP : name == "term" ? SIGTERM : name == "int" ? SIGINT : 0;
    if (number == 0) return "signal needs HUP, TERM or INT, not '" + std::string(trim(rest)) + "'";
    out.push_back({ms, ScriptEvent::Kind::Signal, number, 0});
    return "";
  }
  if (verb == "type") {
    // The text is everything after the one space that follows the verb, spaces included.
    if (rest.empty() || rest.size() < 2 || !is_blank(rest.front())) return "type needs a text";
    const std::string_view text = rest.substr(1);
    for (char c : text) {
      out.push_back({ms, ScriptEvent::Kind::Type, 0, static_cast<std::uint16_t>(static_cast<unsigned char>(c))});
    }
    return "";
  }
  if (verb != "down" && verb != "up" && verb != "tap") {
    return "unknown action '" + std::string(verb_word) + "' (expected down, up, tap, type, close or signal)";
  }
  const std::string_view key_word = next_word(rest);
  if (key_word.empty()) return verb + " needs a key";
  if (!trim(rest).empty()) return "unexpected text after the key: '" + std::string(trim(rest)) + "'";
  const std::optional<int> scancode = scancode_for_key_name(key_word);
  if (!scancode) return "unknown key '" + std::string(key_word) + "'";

  if (verb == "up") {
    out.push_back({ms, ScriptEvent::Kind::Up, *scancode, 0});
    return "";
  }
  out.push_back({ms, ScriptEvent::Kind::Down, *scancode, 0});
  if (const auto typed = typed_code_for_scancode(*scancode)) {
    out.push_back({ms, ScriptEvent::Kind::Type, 0, *typed});
  }
  if (verb == "tap") out.push_back({ms + kTapHoldMs, ScriptEvent::Kind::Up, *scancode, 0});
  return "";
}

}  // namespace

ScriptParse parse_script(std::string_view text) {
  ScriptParse result;
  int line_number = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    ++line_number;
    const std::size_t newline = text.find('\n', pos);
    const std::size_t end = newline == std::string_view::npos ? text.size() : newline;
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

    std::string_view body = line;
    if (const std::size_t hash = body.find('#'); hash != std::string_view::npos) {
      // The blanks before a trailing comment only separate it.
      body = body.substr(0, hash);
      while (!body.empty() && is_blank(body.back())) body.remove_suffix(1);
    }
    if (trim(body).empty()) continue;
    const std::string error = parse_line(body, result.events);
    if (!error.empty()) {
      result.events.clear();
      result.error = "script line " + std::to_string(line_number) + ": " + error + ": " + std::string(line);
      return result;
    }
  }
  // Equal times keep the order of the lines (a down before the type it causes, and so on).
  std::stable_sort(result.events.begin(), result.events.end(),
                   [](const ScriptEvent& a, const ScriptEvent& b) { return a.at_ms < b.at_ms; });
  return result;
}

ScriptParse load_script(const std::string& path) {
  ScriptParse result;
  // Only a regular file, and only so much of it: a pipe or /dev/zero must not hang the runner
  // or fill its memory.
  std::string bytes(kMaxScriptBytes + 1, '\0');
  const PlainReadResult read = read_plain_file(path.c_str(), bytes.data(), bytes.size());
  if (read.outcome == PlainRead::NotPlain)
    result.error = "cannot read script file '" + path + "': it is not a regular file";
  else if (read.outcome != PlainRead::Read)
    result.error = "cannot read script file '" + path + "'";
  else if (read.size > kMaxScriptBytes)
    result.error = "script file '" + path + "' is larger than " + std::to_string(kMaxScriptBytes >> 20) + " MB";
  if (!result.error.empty()) return result;
  bytes.resize(read.size);
  return parse_script(bytes);
}
