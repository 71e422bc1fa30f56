#pragma once
// Backgrounds and sprites, drawn once at start-up from fixed seeds.

void generate_assets();
