// Sparks: invisible movers that fly off in a random direction and leave particle trails.
#include <cmath>

#include "base/game_math.h"
#include "base/random.h"
#include "base/rounding.h"
#include "effects/particles.h"
#include "state/round_state.h"
#include "state/tables.h"

void spawn_spark(float x, float y, int kind) {
  for (int i = 1; i <= kSparkSlots; ++i) {
    Spark& s = sparks[i];
    if (s.life != 0) continue;
    // The direction is drawn only once a slot is found, so a full table leaves the generator alone.
    s.life = 10;
    s.x = x;
    s.y = y;
    const std::int32_t degrees = floor_int(rnd() * 359) + 1;
    s.angle = degrees * 3.141593 / 180;
    s.kind = kind;
    s.speed = 4.0f;
    return;
  }
}

void update_sparks() {
  const std::int32_t cycle = round_state.frame_cycle;
  for (int i = 1; i <= kSparkSlots; ++i) {
    Spark& s = sparks[i];
    if (s.life <= 0) continue;
    s.life -= 1;
    double sn, cs;
    gmath::sincos(s.angle, &sn, &cs);
    s.x = static_cast<float>(s.x + sn * s.speed);
    s.y = static_cast<float>(s.y - cs * s.speed);
    if (cycle == 1 || cycle == 3) {
      if (s.kind < 10) spawn_particle(12, s.x, s.y);
      else if (s.kind == 11) spawn_particle(13, s.x, s.y);
    }
  }
}

void spawn_spark_burst(float x, float y, int kind) {
  spawn_spark(x, y, kind);
  spawn_spark(x - 3.0f, y, kind);
  spawn_spark(x, y + 3.0f, kind);
  spawn_spark(x - 1.0f, y, kind);
}
