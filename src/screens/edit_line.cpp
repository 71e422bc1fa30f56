// The options page's edit line: typing, and what ENTER may keep.
#include "screens/edit_line.h"

#include "files/settings_file.h"

namespace {

constexpr char kBackspace = 8, kEnter = 13, kEscape = 27;

// What the field takes of a typed character (0: nothing). A name is shown and sent in
// capitals, as the high-score table's are.
char taken(EditField field, char c) {
  if (field == EditField::ScoreServer) return (c >= ' ' && c <= '~') ? c : 0;
  if (c >= 'a' && c <= 'z') return static_cast<char>(c - 'a' + 'A');
  return ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) ? c : 0;
}

bool keepable(const EditLine& line) {
  const std::string_view text(line.text, line.length);
  if (text.empty()) return true;
  return line.field == EditField::ScoreServer ? valid_score_server(text) : valid_name_setting(text);
}

}  // namespace

std::size_t edit_capacity(EditField field) {
  if (field == EditField::ScoreServer) return sizeof Settings::score_server - 1;
  return field == EditField::PlayerName ? sizeof Settings::player_name - 1 : 0;
}

void open_edit_line(EditLine& line, EditField field, std::string_view now) {
  line = EditLine{};
  line.field = field;
  const std::size_t capacity = edit_capacity(field);
  line.length = now.copy(line.text, now.size() < capacity ? now.size() : capacity);
  line.text[line.length] = '\0';
}

EditStep edit_line_key(EditLine& line, std::string_view key) {
  // Keys without a character (arrows, F keys) come as 255 and a scancode: nothing here.
  if (key.empty() || line.field == EditField::None || static_cast<unsigned char>(key[0]) == 255)
    return EditStep::Typing;
  const char c = key[0];
  if (c == kEscape) return EditStep::Leave;
  if (c == kEnter) {
    line.refused = !keepable(line);
    return line.refused ? EditStep::Typing : EditStep::Keep;
  }
  if (c == kBackspace) {
    line.refused = false;
    if (line.length > 0) line.text[--line.length] = '\0';
    return EditStep::Typing;
  }
  const char added = taken(line.field, c);
  if (added == 0 || line.length >= edit_capacity(line.field)) return EditStep::Typing;
  line.refused = false;
  line.text[line.length++] = added;
  line.text[line.length] = '\0';
  return EditStep::Typing;
}
