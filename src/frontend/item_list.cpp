#include "frontend/item_list.h"

#include "frame/input.h"
#include "round/round_state.h"

void set_label_alphas() {
  RoundState& rs = round_state;
  for (int i = 1; i <= 5; ++i) rs.label_alpha[i] = 200;
  if (rs.menu_marker_y == rs.menu_item * 10 && rs.menu_item >= 1 && rs.menu_item <= 5)
    rs.label_alpha[rs.menu_item] = 255;
}

void draw_item_label(int item, float x, float y, std::string_view text) {
  const Colour alpha = static_cast<Colour>(round_state.label_alpha[item]) << 24;
  gfx_draw_text(nullptr, x, y, text, alpha | kItemBlue);
}

void draw_item_marker(float x) {
  gfx_draw_text(nullptr, x, static_cast<float>(round_state.menu_marker_y + 160), "->",
                kMarkerColour);
}

void step_item_keys(int item_count) {
  RoundState& rs = round_state;
  if (key_down(kKeyDown) && rs.key_latch == 1) {
    rs.menu_item += 1;
    rs.key_latch = 0;
  }
  if (key_down(kKeyUp) && rs.key_latch == 1) {
    rs.menu_item -= 1;
    rs.key_latch = 0;
  }
  if (rs.menu_item < 1) rs.menu_item = 1;
  if (rs.menu_item > item_count) rs.menu_item = item_count;
}

void slide_item_marker() {
  RoundState& rs = round_state;
  if (rs.menu_marker_y < rs.menu_item * 10) rs.menu_marker_y += 2;
  if (rs.menu_marker_y > rs.menu_item * 10) rs.menu_marker_y -= 2;
}
