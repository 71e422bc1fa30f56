#pragma once
// Screen fades and the glow pulse every front-end page shares.

// Fades the page just drawn in from fade_alpha to 255; nothing at all when already at 255.
// Called once per frame just before the page is shown, so only a page's first frame fades.
void fade_in();
// Fades the work page out to black; nothing at all when fade_alpha is already 0.
void fade_out();
// Advances glow_pulse by one frame within its 148..254 swing.
void step_glow_pulse();
// Clears the page and blends a background over the black at the pulse's opacity: picture 1
// on the front-end pages, the round's last picture on the final score.
void draw_pulsing_background(int background = 1);
