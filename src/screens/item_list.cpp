// The item list of the main menu and the options screen.
#include "screens/item_list.h"

#include "system/input.h"

MenuState menu_state{};

void set_label_alphas() {
  MenuState& ms = menu_state;
  for (int i = 1; i <= kMostItems; ++i) ms.label_alpha[i] = 200;
  if (ms.menu_marker_y == ms.menu_item * 10 && ms.menu_item >= 1 && ms.menu_item <= kMostItems)
    ms.label_alpha[ms.menu_item] = 255;
}

void draw_item_label(int item, float x, float y, std::string_view text) {
  const Colour alpha = static_cast<Colour>(menu_state.label_alpha[item]) << 24;
  gfx_draw_text(nullptr, x, y, text, alpha | kItemBlue);
}

void draw_item_marker(float x) {
  gfx_draw_text(nullptr, x, static_cast<float>(menu_state.menu_marker_y + 160), "->",
                kMarkerColour);
}

void step_item_keys(int item_count) {
  MenuState& ms = menu_state;
  if (key_down(kKeyDown) && ms.key_latch == 1) {
    ms.menu_item += 1;
    ms.key_latch = 0;
  }
  if (key_down(kKeyUp) && ms.key_latch == 1) {
    ms.menu_item -= 1;
    ms.key_latch = 0;
  }
  if (ms.menu_item < 1) ms.menu_item = 1;
  if (ms.menu_item > item_count) ms.menu_item = item_count;
}

void slide_item_marker() {
  MenuState& ms = menu_state;
  if (ms.menu_marker_y < ms.menu_item * 10) ms.menu_marker_y += 2;
  if (ms.menu_marker_y > ms.menu_item * 10) ms.menu_marker_y -= 2;
}
