// The kamikaze half of a shot's hit pass.
#include "effects/particles.h"
#include "enemies/hits.h"
#include "enemies/kamikazes.h"
#include "gfx/gfx.h"
#include "state/round_state.h"
#include "state/tables.h"

void check_projectile_hits_kamikazes(int p) {
  Projectile& s = projectiles[p];
  const float sx = s.x, sy = s.y;
  const int count = round_state.kamikaze_count;
  for (int i = 1; i <= count; ++i) {
    Kamikaze& k = kamikazes[i];
    home_toward(p, k.x, k.y, k.active == 1);
    // Every kamikaze box (trigger 20, blast 30, cannon 14) is centred exactly on its base centre.
    if (k.active == 1 && s.weapon == 3 && s.active == 1 && within_box(sx, sy, k.x, k.y, 20.0f)) {
      s.active = 0;
      detonation_effects(sx, sy);
      for (int j = 1; j <= count; ++j) {
        Kamikaze& hit = kamikazes[j];
        if (hit.active != 1 || !within_box(sx, sy, hit.x, hit.y, 30.0f)) continue;
        hit.hp -= 6;
        spawn_explosion(6, sx, sy);
        if (hit.hp > 0) return;
        destroy_kamikaze(j, hit.kind * 25 + 50);
      }
    }
    // The cannon hits only over the painted inside, never the outline or the far nose.
    if (k.active != 1 || s.weapon != 1 || s.active != 1 || !within_box(sx, sy, k.x, k.y, 14.0f)) continue;
    const Colour under = gfx_point(nullptr, sx, sy);
    if (under == kKamikazeFill1 || under == kKamikazeFill2) {
      k.hp -= 1;
      spawn_explosion(6, sx, sy);
      s.active = 0;
      if (k.hp > 0) return;
      destroy_kamikaze(i, k.kind * 25 + 50);
    }
  }
}
