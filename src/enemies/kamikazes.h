#pragma once
// Kamikazes: steering triangles of the last wave.
#include "gfx/gfx.h"
#include "state/tables.h"

// The fill colours of the two kinds; the cannon finds a kamikaze by them.
constexpr Colour kKamikazeFill1 = 0xFFF000F0u;
constexpr Colour kKamikazeFill2 = 0xFF5D00FFu;

void spawn_kamikaze(int slot);
void update_kamikazes();
void destroy_kamikaze(int slot, int points);
// The kamikaze half of a shot's hit pass.
void check_projectile_hits_kamikazes(int p);
// The whole-degree bearing (0..360) from the kamikaze to its target end of the line.
int kamikaze_bearing_deg(const Kamikaze& k);
