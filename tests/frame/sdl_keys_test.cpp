// The SDL key mapping is plain code over SDL's key enumeration: compiled in here directly so
// the test needs SDL's headers but not its library.
#include "frame/i_sdl_keys.cpp"

#include <gtest/gtest.h>

namespace {

TEST(SdlKeys, RowsOfThePcKeyboardGetTheirSet1Codes) {
  const char* const digits = "1234567890";
  for (int i = 0; i < 10; ++i) {
    const SDL_Scancode key = i < 9 ? static_cast<SDL_Scancode>(SDL_SCANCODE_1 + i) : SDL_SCANCODE_0;
    EXPECT_EQ(sdl_key_to_set1(key), 2 + i) << digits[i];
  }
  // Letters by row, as printed on a PC keyboard: set-1 numbers them along the rows.
  const struct { const char* row; int first; } rows[] = {{"QWERTYUIOP", 16}, {"ASDFGHJKL", 30},
                                                        {"ZXCVBNM", 44}};
  for (const auto& r : rows) {
    for (int i = 0; r.row[i]; ++i) {
      const auto key = static_cast<SDL_Scancode>(SDL_SCANCODE_A + (r.row[i] - 'A'));
      EXPECT_EQ(sdl_key_to_set1(key), r.first + i) << r.row[i];
    }
  }
  for (int i = 0; i < 10; ++i)
    EXPECT_EQ(sdl_key_to_set1(static_cast<SDL_Scancode>(SDL_SCANCODE_F1 + i)), 59 + i) << "F" << i + 1;
  const struct { SDL_Scancode key; int code; } singles[] = {
      {SDL_SCANCODE_ESCAPE, 1},  {SDL_SCANCODE_MINUS, 12},   {SDL_SCANCODE_EQUALS, 13},
      {SDL_SCANCODE_BACKSPACE, 14}, {SDL_SCANCODE_TAB, 15},  {SDL_SCANCODE_RETURN, 28},
      {SDL_SCANCODE_KP_ENTER, 28}, {SDL_SCANCODE_LCTRL, 29}, {SDL_SCANCODE_LSHIFT, 42},
      {SDL_SCANCODE_RSHIFT, 54}, {SDL_SCANCODE_LALT, 56},    {SDL_SCANCODE_SPACE, 57},
      {SDL_SCANCODE_CAPSLOCK, 58}, {SDL_SCANCODE_HOME, 71},  {SDL_SCANCODE_PAGEUP, 73},
      {SDL_SCANCODE_END, 79},    {SDL_SCANCODE_PAGEDOWN, 81}, {SDL_SCANCODE_INSERT, 82},
      {SDL_SCANCODE_DELETE, 83}};
  for (const auto& s : singles) EXPECT_EQ(sdl_key_to_set1(s.key), s.code) << "SDL scancode " << s.key;
  EXPECT_EQ(sdl_key_to_set1(SDL_SCANCODE_APPLICATION), -1);
}

TEST(SdlKeys, ArrowsAndTheirKeypadTwinsShareOneCode) {
  const struct { SDL_Scancode arrow, keypad; int code; } pairs[] = {
      {SDL_SCANCODE_UP, SDL_SCANCODE_KP_8, 72},
      {SDL_SCANCODE_LEFT, SDL_SCANCODE_KP_4, 75},
      {SDL_SCANCODE_RIGHT, SDL_SCANCODE_KP_6, 77},
      {SDL_SCANCODE_DOWN, SDL_SCANCODE_KP_2, 80}};
  for (const auto& p : pairs) {
    EXPECT_EQ(sdl_key_to_set1(p.arrow), p.code);
    EXPECT_EQ(sdl_key_to_set1(p.keypad), p.code);
  }
}

TEST(SdlKeys, TypedCodesForKeysWithoutATextEvent) {
  EXPECT_EQ(sdl_key_to_typed(SDL_SCANCODE_BACKSPACE, false), 8);
  EXPECT_EQ(sdl_key_to_typed(SDL_SCANCODE_RETURN, false), 13);
  EXPECT_EQ(sdl_key_to_typed(SDL_SCANCODE_KP_ENTER, true), 13);
  EXPECT_EQ(sdl_key_to_typed(SDL_SCANCODE_ESCAPE, false), 27);
  EXPECT_EQ(sdl_key_to_typed(SDL_SCANCODE_UP, true), 0xFF00 | 72);
  EXPECT_EQ(sdl_key_to_typed(SDL_SCANCODE_DELETE, false), 0xFF00 | 83);
  EXPECT_EQ(sdl_key_to_typed(SDL_SCANCODE_PAGEDOWN, false), 0xFF00 | 81);
  EXPECT_EQ(sdl_key_to_typed(SDL_SCANCODE_F1, false), 0xFF00 | 59);
  EXPECT_EQ(sdl_key_to_typed(SDL_SCANCODE_F10, false), 0xFF00 | 68);
  // Letters, digits and signs arrive as text events, never twice.
  EXPECT_EQ(sdl_key_to_typed(SDL_SCANCODE_A, false), 0);
  EXPECT_EQ(sdl_key_to_typed(SDL_SCANCODE_5, false), 0);
  EXPECT_EQ(sdl_key_to_typed(SDL_SCANCODE_SPACE, false), 0);
  EXPECT_EQ(sdl_key_to_typed(SDL_SCANCODE_LSHIFT, false), 0);
  EXPECT_EQ(sdl_key_to_typed(SDL_SCANCODE_F11, false), 0);
}

TEST(SdlKeys, KeypadTypesCursorKeysOnlyWithNumLockOff) {
  EXPECT_EQ(sdl_key_to_typed(SDL_SCANCODE_KP_8, false), 0xFF00 | 72);
  EXPECT_EQ(sdl_key_to_typed(SDL_SCANCODE_KP_0, false), 0xFF00 | 82);
  EXPECT_EQ(sdl_key_to_typed(SDL_SCANCODE_KP_8, true), 0);
  EXPECT_EQ(sdl_key_to_typed(SDL_SCANCODE_KP_PERIOD, true), 0);
}

}  // namespace
