// Explosions: fading, shrinking discs, some drifting diagonally. Drawn over the line, so they
// change its pixels before the powerups read them.
#include "audio/audio.h"
#include "base/random.h"
#include "base/rounding.h"
#include "effects/particles.h"
#include "gfx/gfx.h"
#include "state/tables.h"

namespace {

constexpr Colour kOrange = 0xF58C05;
constexpr Colour kTeal = 0x0095B0;

std::int32_t explosion_life(std::int32_t kind) {
  switch (kind) {
    case 1: case 7: return 30;
    case 6: return 16;
    case 2: case 3: case 4: case 5: case 8: case 9: case 10: case 11: return 28;
    default: return 40;
  }
}

// Kinds 2..5 and 8..11 drift one pixel a frame along a diagonal.
void drift(Explosion& e) {
  switch (e.kind) {
    case 2: case 8: e.x += 1; e.y += 1; break;
    case 3: case 9: e.x += 1; e.y -= 1; break;
    case 4: case 10: e.x -= 1; e.y += 1; break;
    case 5: case 11: e.x -= 1; e.y -= 1; break;
    default: break;
  }
}

void draw_explosion(const Explosion& e) {
  if (e.kind < 1 || e.kind > 11) return;
  const std::int32_t l = e.life;
  const bool centre = e.kind == 1 || e.kind == 6 || e.kind == 7;  // the still, larger discs
  const double radius = centre ? l / 2.0 + 1.0 : l / 3.0 + 1.0;
  const std::int32_t alpha = centre ? 3 * l + 80 : 3 * l + 60;
  const Colour rgb = e.kind <= 6 ? kOrange : kTeal;
  gfx_circle(nullptr, e.x, e.y, static_cast<float>(radius), static_cast<Colour>(alpha) << 24 | rgb);
}

}  // namespace

void spawn_explosion(int kind, float x, float y) {
  for (int i = 1; i <= kExplosionSlots; ++i) {
    Explosion& e = explosions[i];
    if (e.life != 0) continue;
    e.x = x;
    e.y = y;
    e.kind = kind;
    // The sound is drawn anew for each explosion, and only once a slot is found.
    const std::int32_t n = floor_int(rnd() * 2) + 1;
    audio_play_sound(n == 1 ? snd_explosion_1 : snd_explosion_2);
    e.life = explosion_life(kind);
    return;
  }
}

void update_explosions() {
  for (int i = 1; i <= kExplosionSlots; ++i) {
    Explosion& e = explosions[i];
    if (e.life <= 0) continue;
    e.life -= 1;
    drift(e);
    draw_explosion(e);
  }
}
