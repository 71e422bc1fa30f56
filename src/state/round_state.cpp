// The round state and the slot tables, all starting at zero.
#include "state/round_state.h"

#include <cstddef>

#include "state/tables.h"

RoundState round_state{};
char round_notice[64] = "";
std::int32_t round_notice_frames = 0;

TrailGhost rotation_trail[kTrailSlots + 1]{};
Projectile projectiles[kProjectileSlots + 1]{};
LaserBeam laser_beams[kLaserBeamSlots + 1]{};
Particle particles[kParticleSlots + 1]{};
Spark sparks[kSparkSlots + 1]{};
Explosion explosions[kExplosionSlots + 1]{};
FloatingMessage messages[kMessageSlots + 1]{};
Powerup powerups[kPowerupSlots + 1]{};
Ball balls[kBallSlots + 1]{};
Kamikaze kamikazes[kKamikazeSlots + 1]{};

namespace {

template <typename Slot, std::size_t N>
void empty_slots(Slot (&table)[N]) {
  for (Slot& slot : table) slot = Slot{};
}

}  // namespace

void forget_round_state() {
  round_state = RoundState{};
  round_notice[0] = '\0';
  round_notice_frames = 0;
  empty_slots(rotation_trail);
  empty_slots(projectiles);
  empty_slots(laser_beams);
  empty_slots(particles);
  empty_slots(sparks);
  empty_slots(explosions);
  empty_slots(messages);
  empty_slots(powerups);
  empty_slots(balls);
  empty_slots(kamikazes);
}
