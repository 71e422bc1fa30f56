// Typing a name for the high-score table.
#include <string>

#include "base/text_buf.h"
#include "display/fades.h"
#include "display/frame_pacing.h"
#include "gfx/gfx.h"
#include "screens/high_scores.h"
#include "system/i_platform.h"
#include "system/input.h"

std::string hs_name;
char name_chars[9];
std::int32_t name_pos = 1;
std::int32_t cursor_blink = 0;

namespace {

constexpr Colour kPromptBlue = 0xFF9191FF;
constexpr char kBackspace = 8;

// Only the letters a-z are raised; everything else keeps its code.
char upper_case(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

void take_typed_key() {
  const std::string key = key_read();
  if (key.empty()) return;
  const char c = upper_case(key[0]);
  if (name_pos < 9 && c >= 'A' && c <= 'Z') {
    name_chars[name_pos] = c;
    name_pos += 1;
  } else if (key[0] == kBackspace && name_pos > 1) {
    name_pos -= 1;
    name_chars[name_pos] = 0;
  }
}

// The keyboard is wanted from the first page of the entry until it ends, however it ends.
struct TypingWanted {
  TypingWanted() { platform().typing_wanted(true); }
  ~TypingWanted() { platform().typing_wanted(false); }
};

}  // namespace

void enter_name() {
  fade_out();
  while (!key_read().empty()) {
  }
  const TypingWanted typing;
  hs_name.clear();
  name_pos = 1;
  for (char& c : name_chars) c = 0;
  do {
    begin_frame();
    draw_pulsing_background();
    step_glow_pulse();
    cursor_blink = cursor_blink % 16 + 1;
    take_typed_key();
    hs_name.clear();
    for (int i = 1; i <= 8; ++i)
      if (name_chars[i]) hs_name.push_back(name_chars[i]);
    gfx_draw_text(nullptr, 200, 180, "Please input your name: ", kPromptBlue);
    TextBuf<16> shown;
    shown << hs_name << (cursor_blink > 8 ? "_" : " ");
    gfx_draw_text(nullptr, 390, 180, shown, kPromptBlue);
    fade_in();
    end_frame();
    pace_frame();
    if (close_requested()) return;  // the name so far is recorded
  } while (!(key_down(kKeyEnter) && name_pos > 1));
  fade_out();
}
