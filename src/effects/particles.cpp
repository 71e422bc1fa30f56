// Particles: dots and discs that stay where they were left and fade out, drawn under
// everything else in the frame.
#include "effects/particles.h"

#include "gfx/gfx.h"
#include "state/tables.h"

namespace {

// Life at spawn; kinds beyond the table live 37 frames above 13 and 40 otherwise.
std::int32_t particle_life(std::int32_t kind) {
  switch (kind) {
    case 1: return 35;
    case 6: return 37;
    case 9: return 32;
    case 10: return 32;
    case 12: return 37;
    case 13: return 37;
    default: return kind > 13 ? 37 : 40;
  }
}

Colour with_alpha(std::int32_t alpha, Colour rgb) { return static_cast<Colour>(alpha) << 24 | rgb; }

void draw_disc(const Particle& p, double radius, std::int32_t alpha, Colour rgb) {
  gfx_circle(nullptr, p.x, p.y, static_cast<float>(radius), with_alpha(alpha, rgb));
}

// l is the life left after this frame's step.
void draw_particle(const Particle& p) {
  const std::int32_t l = p.life;
  switch (p.kind) {
    case 1: gfx_pset(nullptr, p.x, p.y, with_alpha(2 * l + 30, 0xF3AE35)); break;
    case 2: draw_disc(p, l / 5.0 + 1.0, 2 * l + 50, 0x000091); break;
    case 3: draw_disc(p, l / 5.0 + 1.0, 2 * l + 10, 0x0BDAA9); break;
    case 4: draw_disc(p, l / 5.0 + 1.0, 2 * l + 70, 0xB00000); break;
    case 5: draw_disc(p, l / 5.0 + 1.0, 2 * l + 70, 0xE8F400); break;
    case 6: draw_disc(p, l / 5.0 + 3.0, 2 * l + 70, 0xFFB629); break;
    case 7: draw_disc(p, l / 5.0 + 1.0, 2 * l + 20, 0xF335C0); break;
    case 9: draw_disc(p, l / 7.0 + 1.0, 2 * l + 5, 0x00A8C6); break;
    case 10: draw_disc(p, l / 7.0 + 1.0, 2 * l + 25, 0xBE00BE); break;
    case 11: draw_disc(p, l / 7.0 + 1.0, 2 * l + 25, 0x3D00AC); break;
    case 12: draw_disc(p, l / 6.0 + 1.0, 2 * l + 20, 0xF38402); break;
    case 13: draw_disc(p, l / 6.0 + 1.0, 2 * l + 20, 0x008C8E); break;
    default: break;  // kind 8 and unknown kinds only wait out their life
  }
}

}  // namespace

void spawn_particle(int kind, float x, float y) {
  for (int i = 1; i <= kParticleSlots; ++i) {
    Particle& p = particles[i];
    if (p.life != 0) continue;
    p.x = x;
    p.y = y;
    p.kind = kind;
    p.life = particle_life(kind);
    return;
  }
}

void update_particles() {
  for (int i = 1; i <= kParticleSlots; ++i) {
    Particle& p = particles[i];
    if (p.life <= 0) continue;
    p.life -= 1;
    draw_particle(p);  // also in the frame its life runs out
  }
}
