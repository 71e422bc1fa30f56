#include "frontend/instructions.h"

// Placeholder until this part of the game lands.
void show_instructions() {}
