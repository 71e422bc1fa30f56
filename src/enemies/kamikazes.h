#pragma once
// Kamikazes: steering triangles of the last wave.
void spawn_kamikaze(int slot);
void update_kamikazes();
void destroy_kamikaze(int slot, int points);
// The kamikaze half of a shot's hit pass.
void check_projectile_hits_kamikazes(int p);
