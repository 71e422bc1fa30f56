#pragma once
// The images made at start-up; they live until the menu's "Exit". Indexed from 1.
#include "gfx/gfx.h"

extern Image* background_images[5];  // [1..4], 640x480
extern Image* snapshot_image;        // the screen copy used by fades and the abort dialog
extern Image* powerup_sprites[11];   // [1..10]
extern Image* ball_sprites[11];      // [1..10]: balls 1..5, tagged ball 7, laser glow 10

// Makes every image above, empty (the assets fill them), and destroys them again (the menu's
// "Exit").
void create_images();
void destroy_images();
