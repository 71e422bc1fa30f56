#include "effects/particles.h"

#include <gtest/gtest.h>

#include <cmath>

#include "effects/effects_test_support.h"
#include "frame/random.h"

namespace {

using namespace effects_test;

class Effects : public ::testing::Test {
 protected:
  void SetUp() override {
    fresh_page();
    clear_effects();
  }
};

TEST_F(Effects, CannonTrailDotIsDrawn35TimesFading98To30) {
  spawn_particle(1, 100.4f, 50.6f);
  EXPECT_EQ(particles[1].life, 35);
  for (int frame = 1; frame <= 35; ++frame) {
    fresh_page();
    update_particles();
    const std::uint32_t alpha = static_cast<std::uint32_t>(2 * (35 - frame) + 30);
    ASSERT_EQ(gfx_point(nullptr, 100, 51), on_black(alpha, 0xF3AE35)) << frame;
    ASSERT_EQ(count_non_black(), 1) << frame;
  }
  EXPECT_EQ(particles[1].life, 0);
  fresh_page();
  update_particles();
  EXPECT_EQ(count_non_black(), 0);
}

TEST_F(Effects, ParticleLifeByKindInFirstFreeSlots) {
  const int kinds[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 0, -3};
  const int lives[] = {35, 40, 40, 40, 40, 37, 40, 40, 32, 32, 40, 37, 37, 37, 40, 40};
  for (int kind : kinds) spawn_particle(kind, 10.0f, 20.0f);
  for (int i = 1; i <= 16; ++i) {
    EXPECT_EQ(particles[i].kind, kinds[i - 1]);
    EXPECT_EQ(particles[i].life, lives[i - 1]) << "kind " << kinds[i - 1];
    EXPECT_EQ(particles[i].x, 10.0f);
    EXPECT_EQ(particles[i].y, 20.0f);
  }
  particles[3].life = 0;
  spawn_particle(9, 1.0f, 2.0f);
  EXPECT_EQ(particles[3].kind, 9);
  EXPECT_EQ(particles[17].life, 0);
}

TEST_F(Effects, TrailDiscsHaveTheirKindsRadiusAndColour) {
  struct Case {
    int kind;
    int left, right;  // ends of the centre row in the first frame: trunc(200 -/+ radius)
    std::uint32_t alpha;
    Colour rgb;
  };
  // Radii in the first frame, fractions kept: kind 6: 36/5 + 3 = 10.2; kind 9: 31/7 + 1 = 5.43;
  // kind 12: 36/6 + 1 = 7; kind 2: 39/5 + 1 = 8.8; kind 11: 39/7 + 1 = 6.57.
  const Case cases[] = {{6, 189, 210, 142, 0xFFB629}, {9, 194, 205, 67, 0x00A8C6},
                        {12, 193, 207, 92, 0xF38402}, {2, 191, 208, 128, 0x000091},
                        {13, 193, 207, 92, 0x008C8E}, {11, 193, 206, 103, 0x3D00AC}};
  for (const Case& c : cases) {
    fresh_page();
    clear_effects();
    spawn_particle(c.kind, 200.0f, 200.0f);
    update_particles();
    const Colour expected = on_black(c.alpha, c.rgb);
    EXPECT_EQ(gfx_point(nullptr, 200, 200), expected) << c.kind;
    EXPECT_EQ(gfx_point(nullptr, c.left, 200), expected) << c.kind;
    EXPECT_EQ(gfx_point(nullptr, c.right, 200), expected) << c.kind;
    EXPECT_EQ(gfx_point(nullptr, c.left - 1, 200), 0xFF000000u) << c.kind;
    EXPECT_EQ(gfx_point(nullptr, c.right + 1, 200), 0xFF000000u) << c.kind;
  }
  // Kind 8 and unknown kinds live but are never drawn.
  fresh_page();
  clear_effects();
  spawn_particle(8, 200.0f, 200.0f);
  spawn_particle(20, 200.0f, 200.0f);
  update_particles();
  EXPECT_EQ(count_non_black(), 0);
  EXPECT_EQ(particles[1].life, 39);
  EXPECT_EQ(particles[2].life, 36);
}

TEST_F(Effects, ExplosionKind1ShrinksFrom15Point5To1Over30Frames) {
  spawn_explosion(1, 100.0f, 100.0f);
  EXPECT_EQ(explosions[1].life, 30);
  for (int frame = 1; frame <= 30; ++frame) {
    fresh_page();
    update_explosions();
    if (frame == 1) {  // radius 15.5: the centre row runs from trunc(84.5) to trunc(115.5)
      EXPECT_EQ(gfx_point(nullptr, 84, 100), on_black(167, 0xF58C05));
      EXPECT_EQ(gfx_point(nullptr, 115, 100), on_black(167, 0xF58C05));
      EXPECT_EQ(gfx_point(nullptr, 83, 100), 0xFF000000u);
      EXPECT_EQ(gfx_point(nullptr, 116, 100), 0xFF000000u);
    }
  }
  // Radius 1 in the last frame, alpha 80.
  EXPECT_EQ(gfx_point(nullptr, 101, 100), on_black(80, 0xF58C05));
  EXPECT_EQ(gfx_point(nullptr, 102, 100), 0xFF000000u);
  EXPECT_EQ(explosions[1].life, 0);
  fresh_page();
  update_explosions();
  EXPECT_EQ(count_non_black(), 0);
}

TEST_F(Effects, ExplosionKindsLifeDriftAndColour) {
  const int lives[] = {0, 30, 28, 28, 28, 28, 16, 30, 28, 28, 28, 28, 40};
  for (int kind = 1; kind <= 12; ++kind) spawn_explosion(kind, 300.0f, 300.0f);
  for (int kind = 1; kind <= 12; ++kind) EXPECT_EQ(explosions[kind].life, lives[kind]) << kind;
  update_explosions();
  const float dx[] = {0, 0, 1, 1, -1, -1, 0, 0, 1, 1, -1, -1, 0};
  const float dy[] = {0, 0, 1, -1, 1, -1, 0, 0, 1, -1, 1, -1, 0};
  for (int kind = 1; kind <= 12; ++kind) {
    EXPECT_EQ(explosions[kind].x, 300.0f + dx[kind]) << kind;
    EXPECT_EQ(explosions[kind].y, 300.0f + dy[kind]) << kind;
  }

  // Each kind alone: its centre pixel and the edge of its disc.
  struct Case {
    int kind, half_width;
    std::uint32_t alpha;
    Colour rgb;
  };
  const Case cases[] = {{3, 10, 141, 0xF58C05}, {6, 8, 125, 0xF58C05}, {7, 15, 167, 0x0095B0},
                        {11, 10, 141, 0x0095B0}};
  for (const Case& c : cases) {
    fresh_page();
    clear_effects();
    spawn_explosion(c.kind, 300.0f, 300.0f);
    update_explosions();
    const float cx = explosions[1].x, cy = explosions[1].y;
    const Colour expected = on_black(c.alpha, c.rgb);
    EXPECT_EQ(gfx_point(nullptr, cx, cy), expected) << c.kind;
    EXPECT_EQ(gfx_point(nullptr, cx + c.half_width, cy), expected) << c.kind;
    EXPECT_EQ(gfx_point(nullptr, cx + c.half_width + 1, cy), 0xFF000000u) << c.kind;
  }

  // Second frame of a drifting kind: radius 26/3 + 1 = 9.67 about (302, 298), fraction kept.
  fresh_page();
  clear_effects();
  spawn_explosion(3, 300.0f, 300.0f);
  update_explosions();
  fresh_page();
  update_explosions();
  EXPECT_EQ(gfx_point(nullptr, 292, 298), on_black(138, 0xF58C05));
  EXPECT_EQ(gfx_point(nullptr, 291, 298), 0xFF000000u);
  EXPECT_EQ(gfx_point(nullptr, 311, 298), on_black(138, 0xF58C05));

  fresh_page();
  clear_effects();
  spawn_explosion(6, 50.0f, 50.0f);
  for (int frame = 1; frame <= 16; ++frame) {
    fresh_page();
    update_explosions();
    ASSERT_GT(count_non_black(), 0) << frame;
  }
  EXPECT_EQ(explosions[1].life, 0);
}

TEST_F(Effects, FullTablesDrawNoRandomNumber) {
  randomize(7);
  const double first = rnd();
  const double second = rnd();

  for (int i = 1; i <= kExplosionSlots; ++i) explosions[i].life = 3;
  for (int i = 1; i <= kSparkSlots; ++i) sparks[i].life = 3;
  randomize(7);
  spawn_explosion(1, 10.0f, 10.0f);
  spawn_spark(10.0f, 10.0f, 1);
  EXPECT_EQ(rnd(), first);

  // One free slot each: exactly one draw each.
  explosions[20].life = 0;
  randomize(7);
  spawn_explosion(1, 10.0f, 10.0f);
  EXPECT_EQ(explosions[20].kind, 1);
  EXPECT_EQ(rnd(), second);
  sparks[90].life = 0;
  randomize(7);
  spawn_spark(10.0f, 10.0f, 1);
  EXPECT_EQ(sparks[90].life, 10);
  EXPECT_EQ(rnd(), second);
}

TEST_F(Effects, SparkFlies40PixelsAndLeavesFourTrailParticles) {
  randomize(11);
  const int degrees = static_cast<int>(std::floor(rnd() * 359)) + 1;
  randomize(11);
  spawn_spark(300.0f, 200.0f, 1);
  const Spark& s = sparks[1];
  EXPECT_EQ(s.angle, degrees * 3.141593 / 180);
  EXPECT_EQ(s.speed, 4.0f);

  float trail_x[4], trail_y[4];
  int trails = 0;
  for (int frame = 1; frame <= 10; ++frame) {
    round_state.frame_cycle = round_state.frame_cycle % 5 + 1;
    update_sparks();
    if (round_state.frame_cycle == 1 || round_state.frame_cycle == 3) {
      ASSERT_LT(trails, 4);
      trail_x[trails] = s.x;
      trail_y[trails] = s.y;
      ++trails;
    }
  }
  EXPECT_EQ(s.life, 0);
  EXPECT_NEAR(s.x, 300.0 + 40.0 * std::sin(s.angle), 1e-3);
  EXPECT_NEAR(s.y, 200.0 - 40.0 * std::cos(s.angle), 1e-3);
  for (int i = 1; i <= 4; ++i) {
    EXPECT_EQ(particles[i].kind, 12);
    EXPECT_EQ(particles[i].x, trail_x[i - 1]);
    EXPECT_EQ(particles[i].y, trail_y[i - 1]);
  }
  EXPECT_EQ(particles[5].life, 0);
  const float end_x = s.x;
  update_sparks();
  EXPECT_EQ(s.x, end_x);
}

TEST_F(Effects, SparkKindChoosesItsTrail) {
  spawn_spark(100.0f, 100.0f, 11);
  spawn_spark(100.0f, 100.0f, 10);
  spawn_spark(100.0f, 100.0f, 12);
  spawn_spark(100.0f, 100.0f, 9);
  round_state.frame_cycle = 1;
  update_sparks();
  EXPECT_EQ(particles[1].kind, 13);
  EXPECT_EQ(particles[2].kind, 12);
  EXPECT_EQ(particles[3].life, 0);
  round_state.frame_cycle = 2;  // no trail on the other cycles
  update_sparks();
  EXPECT_EQ(particles[3].life, 0);
}

}  // namespace
