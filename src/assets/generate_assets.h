#pragma once
// Backgrounds and sprites, drawn once at start-up from fixed seeds.
#include <cstdint>

void generate_assets();
