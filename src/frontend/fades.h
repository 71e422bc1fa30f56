#pragma once
// Screen fades and the glow pulse every front-end page shares.
void fade_in();
void fade_out();
void step_glow_pulse();
// The background of the front-end pages: background 1 blended at the pulse's opacity.
void draw_pulsing_background();
