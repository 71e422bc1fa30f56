#pragma once
// The hit pass of one cannon or blaster shot against balls and kamikazes.
void check_projectile_hits(int p);
