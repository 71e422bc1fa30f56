#include "frontend/fades.h"

// Placeholder until this part of the game lands.
void fade_in() {}
void fade_out() {}
void step_glow_pulse() {}
void draw_pulsing_background() {}
