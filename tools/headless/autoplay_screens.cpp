// Telling which screen a page is by the texts on it.
#include "headless/autoplay_screens.h"

#include "gfx/font8x8.h"

namespace {

constexpr Colour kLifeColour = 0xFF1E7FC8;
constexpr Colour kTallyTitle = 0xFFAFAFFF;
constexpr Colour kLightBlue = 0xFF9191FF;  // menu items, tally lines, prompt, name entry
constexpr Colour kTableBlue = 0xFF0275BE;

constexpr const char* kMenuLabels[6] = {"", "Start New Game", "Options", "Instructions",
                                        "High Scores", "Exit"};

}  // namespace

bool page_shows_text(const Image& page, int x, int y, std::string_view text, Colour colour) {
  if (x < 0 || y < 0 || y + 8 > page.height || x + 8 * static_cast<int>(text.size()) > page.width)
    return false;
  bool any = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const std::uint8_t* glyph = font8x8[static_cast<unsigned char>(text[i])];
    for (int row = 0; row < 8; ++row) {
      const Colour* line = page.row(y + row) + x + static_cast<int>(i) * 8;
      for (int col = 0; col < 8; ++col) {
        if (!(glyph[row] & (0x80 >> col))) continue;
        if (line[col] != colour) return false;
        any = true;
      }
    }
  }
  return any;
}

ScreenView classify_screen(const Image& page) {
  ScreenView view;
  if (page_shows_text(page, 390, 5, "Life:", kLifeColour)) {
    view.screen = Screen::Round;
  } else if (page_shows_text(page, 240, 50, "Final Score Calculation", kTallyTitle)) {
    view.screen = Screen::FinalScore;
    view.continue_shown = page_shows_text(page, 240, 250, "Press ENTER to continue", kLightBlue);
  } else if (page_shows_text(page, 210, 200, "Record your top score (Y/N)?", kLightBlue)) {
    view.screen = Screen::RecordPrompt;
  } else if (page_shows_text(page, 200, 180, "Please input your name: ", kLightBlue)) {
    view.screen = Screen::NameEntry;
  } else if (page_shows_text(page, 285, 120, "TOP SCORES", kTableBlue) ||
             page_shows_text(page, 270, 90, "WORLD TABLE", kTableBlue)) {
    view.screen = Screen::HighScores;
  } else {
    // The selected menu item is the one label drawn opaque.
    for (int item = 1; item <= 5; ++item) {
      if (page_shows_text(page, 400, 160 + 10 * item, kMenuLabels[item], kLightBlue)) {
        view.screen = Screen::Menu;
        view.menu_item = item;
        break;
      }
    }
  }
  return view;
}
