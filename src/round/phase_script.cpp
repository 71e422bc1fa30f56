#include "round/phase_script.h"

// Placeholder until this part of the game lands.
void run_phase_script() {}
void setup_wave(int) {}
