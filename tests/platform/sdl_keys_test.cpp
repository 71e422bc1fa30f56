// The SDL key mapping is plain code over SDL's key enumeration: compiled in here directly so
// the test needs SDL's headers but not its library.
#include "platform/i_sdl_keys.cpp"

#include <gtest/gtest.h>

namespace {

TEST(SdlKeys, PcKeyboardRowsAndKeypadTwinsGetTheirSet1Codes) {
  // Set 1 numbers the letters along the rows of a PC keyboard.
  const struct { const char* row; int first; } rows[] = {{"QWERTYUIOP", 16}, {"ASDFGHJKL", 30}, {"ZXCVBNM", 44}};
  for (const auto& r : rows)
    for (int i = 0; r.row[i]; ++i)
      EXPECT_EQ(sdl_key_to_set1(static_cast<SDL_Scancode>(SDL_SCANCODE_A + (r.row[i] - 'A'))), r.first + i) << r.row[i];
  const struct { SDL_Scancode key; int code; } singles[] = {
      {SDL_SCANCODE_1, 2},       {SDL_SCANCODE_0, 11},       {SDL_SCANCODE_ESCAPE, 1},
      {SDL_SCANCODE_BACKSPACE, 14}, {SDL_SCANCODE_RETURN, 28}, {SDL_SCANCODE_KP_ENTER, 28},
      {SDL_SCANCODE_SPACE, 57},  {SDL_SCANCODE_F1, 59},      {SDL_SCANCODE_F10, 68},
      {SDL_SCANCODE_UP, 72},     {SDL_SCANCODE_KP_8, 72},    {SDL_SCANCODE_LEFT, 75},
      {SDL_SCANCODE_KP_4, 75},   {SDL_SCANCODE_RIGHT, 77},   {SDL_SCANCODE_KP_6, 77},
      {SDL_SCANCODE_DOWN, 80},   {SDL_SCANCODE_KP_2, 80},    {SDL_SCANCODE_DELETE, 83},
      {SDL_SCANCODE_APPLICATION, -1}};
  for (const auto& s : singles) EXPECT_EQ(sdl_key_to_set1(s.key), s.code) << "SDL scancode " << s.key;
}

TEST(SdlKeys, TypedCodesForKeysWithoutATextEvent) {
  const struct { SDL_Scancode key; bool num_lock; int typed; } cases[] = {
      {SDL_SCANCODE_BACKSPACE, false, 8}, {SDL_SCANCODE_RETURN, false, 13},
      {SDL_SCANCODE_ESCAPE, false, 27},   {SDL_SCANCODE_UP, true, 0xFF00 | 72},
      {SDL_SCANCODE_PAGEDOWN, false, 0xFF00 | 81}, {SDL_SCANCODE_F10, false, 0xFF00 | 68},
      // Letters, digits and Space arrive as text events, never twice.
      {SDL_SCANCODE_A, false, 0}, {SDL_SCANCODE_5, false, 0}, {SDL_SCANCODE_SPACE, false, 0},
      // The keypad types cursor keys only with Num Lock off.
      {SDL_SCANCODE_KP_8, false, 0xFF00 | 72}, {SDL_SCANCODE_KP_8, true, 0}};
  for (const auto& c : cases)
    EXPECT_EQ(sdl_key_to_typed(c.key, c.num_lock), c.typed) << "SDL scancode " << c.key << " num lock " << c.num_lock;
}

}  // namespace
