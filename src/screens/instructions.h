#pragma once
// One static page about the game, the controls, the weapons and the nine powerups; it stays
// until ENTER.
void show_instructions();
// Draws the page itself (without background) onto the work page.
void draw_instructions_page();
