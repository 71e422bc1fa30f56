// The options page's edit line: what each field takes of typed keys and what ENTER may keep.
#include <gtest/gtest.h>

#include <string>

#include "screens/edit_line.h"

namespace {

std::string text(const EditLine& line) { return {line.text, line.length}; }

// Each character as its own key, as key_read() hands them over; the last step.
EditStep type(EditLine& line, std::string_view keys) {
  EditStep step = EditStep::Typing;
  for (char c : keys) step = edit_line_key(line, std::string(1, c));
  return step;
}

TEST(EditLine, AnAddressTakesPrintableCharactersUpTo255AndBackspaceTakesThemAway) {
  EditLine line;
  open_edit_line(line, EditField::ScoreServer, "http://old");
  EXPECT_EQ(text(line), "http://old");  // it opens on the setting
  type(line, "\b\b\b");
  type(line, std::string("a b~\t\x7f") + '\x01');  // controls and DEL are no characters
  EXPECT_EQ(edit_line_key(line, "\xff\x4b"), EditStep::Typing);  // LEFT: nothing
  EXPECT_EQ(text(line), "http://a b~");
  type(line, std::string(300, 'x'));
  EXPECT_EQ(line.length, 255u);
  EXPECT_EQ(text(line), "http://a b~" + std::string(244, 'x'));
  EXPECT_EQ(line.text[255], '\0');
  type(line, std::string(300, '\b'));
  EXPECT_EQ(text(line), "");
  EXPECT_EQ(type(line, " ~"), EditStep::Typing);
  EXPECT_EQ(text(line), " ~");  // the first and last printable ones
}

TEST(EditLine, EnterKeepsAValidAddressOrNoneAndRefusesAnythingElseUntilTheNextKey) {
  EditLine line;
  open_edit_line(line, EditField::ScoreServer, "");
  for (const char* refused : {"scores.example", "http://", "ftp://scores.example", "http://a b.example"}) {
    open_edit_line(line, EditField::ScoreServer, "");
    type(line, refused);
    EXPECT_EQ(edit_line_key(line, "\r"), EditStep::Typing) << refused;
    EXPECT_TRUE(line.refused) << refused;
  }
  // A key that changes the text takes the refusal away; one the field ignores does not.
  edit_line_key(line, "\x01");
  EXPECT_TRUE(line.refused);
  edit_line_key(line, "\b");
  EXPECT_FALSE(line.refused);
  line.refused = true;
  edit_line_key(line, "e");
  EXPECT_FALSE(line.refused);
  for (const char* kept : {"http://127.0.0.1:8080", "https://scores.example/x", "http://ab"}) {
    open_edit_line(line, EditField::ScoreServer, "");
    EXPECT_EQ(type(line, std::string(kept) + "\r"), EditStep::Keep) << kept;
    EXPECT_EQ(text(line), kept);
  }
  open_edit_line(line, EditField::ScoreServer, "https://scores.example");
  EXPECT_EQ(type(line, std::string(22, '\b') + "\r"), EditStep::Keep);  // empty: no server
  EXPECT_EQ(text(line), "");
  open_edit_line(line, EditField::ScoreServer, "https://scores.example");
  EXPECT_EQ(type(line, "\b\b\x1b"), EditStep::Leave);
}

TEST(EditLine, ANameTakesSixteenLettersAndDigitsInCapitals) {
  EditLine line;
  open_edit_line(line, EditField::PlayerName, "ADA");
  EXPECT_EQ(type(line, "zoe 9-!_.Az09"), EditStep::Typing);
  EXPECT_EQ(text(line), "ADAZOE9AZ09");
  type(line, "abcdefghij");
  EXPECT_EQ(text(line), "ADAZOE9AZ09ABCDE");
  EXPECT_EQ(type(line, "\r"), EditStep::Keep);
  open_edit_line(line, EditField::PlayerName, "ADA");
  EXPECT_EQ(type(line, "\b\b\b\b\r"), EditStep::Keep);  // empty: no name
  EXPECT_EQ(text(line), "");
  EXPECT_EQ(type(line, "q\x1b"), EditStep::Leave);
  // A line that is not open takes nothing.
  line = EditLine{};
  EXPECT_EQ(type(line, "a\r"), EditStep::Typing);
  EXPECT_EQ(text(line), "");
}

}  // namespace
