#pragma once
// The options page's edit line for the score server's address and the player's name: what a
// typed key does to it, and whether ENTER may keep what it holds. Nothing here draws or saves.
#include <cstddef>
#include <cstdint>
#include <string_view>

enum class EditField : std::uint8_t { None = 0, ScoreServer = 1, PlayerName = 2 };

struct EditLine {
  EditField field = EditField::None;
  char text[256] = "";  // always ends in a NUL
  std::size_t length = 0;
  bool refused = false;  // ENTER came on a text the settings do not take; the next key clears it
};

enum class EditStep : std::uint8_t { Typing, Keep, Leave };

// The most characters a field holds: as many as the settings keep.
std::size_t edit_capacity(EditField field);
// Opens the line on what the setting holds now.
void open_edit_line(EditLine& line, EditField field, std::string_view now);
// One key as key_read() gives it. A character the field takes is added (letters of a name as
// capitals), BACKSPACE takes the last one away, ESC leaves the setting as it was, ENTER keeps
// the text when it is empty (no setting) or the settings take it, and otherwise says so.
EditStep edit_line_key(EditLine& line, std::string_view key);
