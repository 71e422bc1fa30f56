#pragma once
// The game's icon, drawn from its own generated art: a square of the first background with a
// tagged ball in the middle. Needs the assets generated.
struct Image;

// Sizes the image to size x size (at least 16) and draws the icon into it, fully opaque.
void draw_icon(Image& icon, int size);
