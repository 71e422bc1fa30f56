// Floating messages: texts that scroll right to left along the bottom of the screen,
// fading in and out. The text lives in the record itself, so showing one never allocates.
#include "effects/messages.h"

#include "gfx/gfx.h"
#include "state/tables.h"

namespace {

constexpr float kStartX = 645.0f;  // just off the right edge
constexpr float kBaselineY = 470.0f;

}  // namespace

void show_message(std::string_view text) {
  int slot = 0;
  for (int i = 1; i <= kMessageSlots; ++i) {
    if (messages[i].active == 0) {
      slot = i;
      break;
    }
  }
  if (slot == 0) return;

  FloatingMessage& m = messages[slot];
  const std::size_t kept = text.size() < kMessageChars ? text.size() : kMessageChars;
  for (std::size_t i = 0; i < kept; ++i) m.text[i] = text[i];
  m.text[kept] = '\0';
  m.text_length = static_cast<std::int32_t>(kept);
  m.active = 1;
  m.alpha = 0;
  m.x = kStartX;
  // Start behind every message still near the right edge, each by its own length, so that
  // messages shown in the same frame queue up without overlapping.
  for (int i = 1; i <= kMessageSlots; ++i) {
    const FloatingMessage& ahead = messages[i];
    if (i != slot && ahead.active == 1 && ahead.x > 400.0f) m.x += 10.0f * static_cast<float>(ahead.text_length);
  }
}

void update_messages() {
  for (int i = 1; i <= kMessageSlots; ++i) {
    FloatingMessage& m = messages[i];
    if (m.active != 1) continue;
    m.x -= 4.0f;
    if (m.x > 320.0f && m.x < 580.0f) m.alpha += 4;
    if (m.x < 260.0f) m.alpha -= 4;
    if (m.alpha < 0) m.alpha = 0;
    if (m.alpha > 255) m.alpha = 255;
    if (m.x < -60.0f) m.active = 0;  // drawn this once more
    const Colour colour = static_cast<Colour>(m.alpha) << 24 | 0xFFFFFFu;
    gfx_draw_text(nullptr, m.x, kBaselineY,
                  std::string_view(m.text, static_cast<std::size_t>(m.text_length)), colour);
  }
}
