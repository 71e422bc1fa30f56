#include "assets/generate_assets.h"

// Placeholder until the generators land.
void generate_assets() {}
