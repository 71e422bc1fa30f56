#pragma once
// Which screen a shown page is, told the way a player tells it: by the texts on it. Every text
// checked is drawn opaque, so its glyph pixels carry the exact colour once the fade is over.
#include <string_view>

#include "gfx/gfx.h"

enum class Screen {
  Unknown,       // fades, the abort dialog, anything else
  Menu,          // the main menu, settled on one item
  Round,         // a round's ordinary frame (the HUD is on top of everything)
  FinalScore,    // the tally
  RecordPrompt,  // "Record your top score (Y/N)?"
  NameEntry,
  HighScores,
};

// True when every set pixel of text's glyphs, drawn with its top-left at (x, y), has colour.
bool page_shows_text(const Image& page, int x, int y, std::string_view text, Colour colour);

struct ScreenView {
  Screen screen = Screen::Unknown;
  int menu_item = 0;           // Menu: the item shown selected (1..5)
  bool continue_shown = false;  // FinalScore: "Press ENTER to continue" is up
};

ScreenView classify_screen(const Image& page);
