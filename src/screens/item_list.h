#pragma once
// The keyboard-driven item list of the main menu and the options screen: labels that light
// up once the sliding "->" marker has reached the selected item.
#include <cstdint>
#include <string_view>

#include "gfx/gfx.h"

// The longest list's items: the options'.
inline constexpr int kMostItems = 6;

// Where the player stands in the main menu's or the options' list; everything starts at zero.
struct MenuState {
  std::int32_t menu_item;                    // 1..kMostItems
  std::int32_t menu_marker_y;                // the marker's height, sliding toward menu_item x 10
  std::int32_t label_alpha[kMostItems + 1];  // [1..kMostItems]
  std::int32_t key_latch;                    // 1 once the keys that moved the selection are let go
};

extern MenuState menu_state;

constexpr Colour kItemBlue = 0x009191FF;
constexpr Colour kMarkerColour = 0xFF9191FF;

// Every label at 200, the selected one at 255 once the marker stands on it.
void set_label_alphas();
// A label in the item colour at its own opacity.
void draw_item_label(int item, float x, float y, std::string_view text);
// The marker at (x, menu_marker_y + 160).
void draw_item_marker(float x);
// DOWN then UP, each one step per press through key_latch; menu_item kept in 1..item_count.
void step_item_keys(int item_count);
// Two pixels per frame towards menu_item x 10.
void slide_item_marker();
