#pragma once
// Every game object lives in a fixed table of records indexed from 1 (slot 0 is unused).
// A spawn takes the first free slot from slot 1 and does nothing when the table is full.
#include <cstdint>

constexpr int kTrailSlots = 90;
constexpr int kProjectileSlots = 90;
constexpr int kLaserBeamSlots = 30;
constexpr int kParticleSlots = 780;
constexpr int kSparkSlots = 90;
constexpr int kExplosionSlots = 20;
constexpr int kMessageSlots = 5;
constexpr int kPowerupSlots = 8;
constexpr int kBallSlots = 40;
constexpr int kKamikazeSlots = 40;
constexpr int kMessageChars = 51;

struct TrailGhost {
  std::int32_t life;
  double angle;
};

struct Projectile {
  float x, y;
  std::int32_t life;
  double angle;  // moves by (sin, cos) like the line
  float speed;
  std::int32_t active;
  std::int32_t weapon;
  std::int32_t turn_step;
  std::int32_t heading_deg;
};

struct LaserBeam {
  float x, y;
  std::int32_t life;
  std::int32_t kind;
};

struct Particle {
  float x, y;
  std::int32_t life;
  std::int32_t kind;
};

struct Spark {
  float x, y;
  std::int32_t life;
  double angle;  // moves by (sin, -cos): 0 points up
  float speed;
  std::int32_t kind;
};

struct Explosion {
  float x, y;
  std::int32_t life;
  std::int32_t kind;
};

struct FloatingMessage {
  float x;
  char text[kMessageChars + 1];
  std::int32_t text_length;
  std::int32_t active;
  std::int32_t alpha;
};

struct Powerup {
  float x, y;
  std::int32_t active;
  float angle;
  std::int32_t kind;
  float speed;
};

struct Ball {
  float x, y;
  double angle;
  float speed;
  std::int32_t kind;
  std::int32_t hp;
  std::int32_t tagged;
  std::int32_t active;
};

struct Kamikaze {
  float x, y;
  double angle;
  float speed;
  std::int32_t kind;
  std::int32_t hp;
  std::int32_t aim;
  std::int32_t turn_step;
  std::int32_t heading_deg;
  std::int32_t active;
};

extern TrailGhost rotation_trail[kTrailSlots + 1];
extern Projectile projectiles[kProjectileSlots + 1];
extern LaserBeam laser_beams[kLaserBeamSlots + 1];
extern Particle particles[kParticleSlots + 1];
extern Spark sparks[kSparkSlots + 1];
extern Explosion explosions[kExplosionSlots + 1];
extern FloatingMessage messages[kMessageSlots + 1];
extern Powerup powerups[kPowerupSlots + 1];
extern Ball balls[kBallSlots + 1];
extern Kamikaze kamikazes[kKamikazeSlots + 1];
