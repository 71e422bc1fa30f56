#pragma once
// Screen fades and the glow pulse every front-end page shares.

// Fades the page just drawn in from fade_alpha to 255; nothing at all when already at 255.
// Called once per frame just before the page is shown, so only a page's first frame fades.
void fade_in();
// Fades the work page out to black; nothing at all when fade_alpha is already 0.
void fade_out();
// Advances glow_pulse by one frame within its 148..254 swing.
void step_glow_pulse();
// The background of the front-end pages: background 1 blended at the pulse's opacity.
void draw_pulsing_background();
