#include "effects/particles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

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
  // After `frames` updates, row y holds `colour` from x0 to x1 and black just outside.
  template <typename Update>
  static void expect_centre_row(Update update, int frames, int x0, int x1, int y, Colour colour) {
    for (int f = 1; f <= frames; ++f) {
      fresh_page();
      update();
    }
    EXPECT_EQ(gfx_point(nullptr, x0 - 1, y), 0xFF000000u);
    EXPECT_EQ(gfx_point(nullptr, x0, y), colour);
    EXPECT_EQ(gfx_point(nullptr, x1, y), colour);
    EXPECT_EQ(gfx_point(nullptr, x1 + 1, y), 0xFF000000u);
  }
};

TEST_F(Effects, CannonTrailDotIsDrawn35TimesFading98To30) {
  spawn_particle(1, 100.4f, 50.6f);
  for (int frame = 1; frame <= 36; ++frame) {
    fresh_page();
    update_particles();
    const int alpha = 2 * (35 - frame) + 30;
    ASSERT_EQ(count_non_black(), frame <= 35 ? 1 : 0) << frame;
    if (frame <= 35) {
      ASSERT_EQ(gfx_point(nullptr, 100, 51), on_black(static_cast<std::uint32_t>(alpha), 0xF3AE35)) << frame;
    }
  }
}

TEST_F(Effects, ParticleKindsLiveTheirTimeInTheFirstFreeSlotsAndDrawTheirDisc) {
  const int kinds[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 0, -3};
  const int lives[] = {35, 40, 40, 40, 40, 37, 40, 40, 32, 32, 40, 37, 37, 37, 40, 40};
  for (int kind : kinds) spawn_particle(kind, 10.0f, 20.0f);
  for (int i = 1; i <= 16; ++i)
    EXPECT_EQ(std::pair(particles[i].kind, particles[i].life), std::pair(kinds[i - 1], lives[i - 1]));
  particles[3].life = 0;
  spawn_particle(9, 1.0f, 2.0f);
  EXPECT_EQ(particles[3].kind, 9);
  EXPECT_EQ(particles[17].life, 0);

  // First frame, fractions kept: kind 6: 36/5 + 3 = 10.2; kind 9: 31/7 + 1 = 5.43;
  // kind 12: 36/6 + 1 = 7; kind 2: 39/5 + 1 = 8.8; kind 11: 39/7 + 1 = 6.57.
  const struct { int kind, left, right; std::uint32_t alpha; Colour rgb; } cases[] = {
      {6, 189, 210, 142, 0xFFB629}, {9, 194, 205, 67, 0x00A8C6}, {12, 193, 207, 92, 0xF38402},
      {2, 191, 208, 128, 0x000091}, {13, 193, 207, 92, 0x008C8E}, {11, 193, 206, 103, 0x3D00AC}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.kind);
    clear_effects();
    spawn_particle(c.kind, 200.0f, 200.0f);
    expect_centre_row(update_particles, 1, c.left, c.right, 200, on_black(c.alpha, c.rgb));
  }
  clear_effects();  // kind 8 and unknown kinds live but are never drawn
  spawn_particle(8, 200.0f, 200.0f);
  spawn_particle(20, 200.0f, 200.0f);
  fresh_page();
  update_particles();
  EXPECT_EQ(count_non_black(), 0);
}

TEST_F(Effects, ExplosionsLiveDriftAndShrink) {
  const int lives[] = {0, 30, 28, 28, 28, 28, 16, 30, 28, 28, 28, 28, 40};
  const float dx[] = {0, 0, 1, 1, -1, -1, 0, 0, 1, 1, -1, -1, 0};
  const float dy[] = {0, 0, 1, -1, 1, -1, 0, 0, 1, -1, 1, -1, 0};
  for (int kind = 1; kind <= 12; ++kind) spawn_explosion(kind, 300.0f, 300.0f);
  for (int kind = 1; kind <= 12; ++kind) EXPECT_EQ(explosions[kind].life, lives[kind]) << kind;
  update_explosions();
  for (int kind = 1; kind <= 12; ++kind) {
    EXPECT_EQ(explosions[kind].x, 300.0f + dx[kind]) << kind;
    EXPECT_EQ(explosions[kind].y, 300.0f + dy[kind]) << kind;
  }
  // Kind 1: radius 15.5 in its first frame (trunc(84.5)..trunc(115.5)), 1 in its 30th and last.
  clear_effects();
  spawn_explosion(1, 100.0f, 100.0f);
  expect_centre_row(update_explosions, 1, 84, 115, 100, on_black(167, 0xF58C05));
  expect_centre_row(update_explosions, 29, 99, 101, 100, on_black(80, 0xF58C05));
  fresh_page();
  update_explosions();
  EXPECT_EQ(count_non_black(), 0);
  // First frames of other kinds: radius 27/3 + 1 = 10 about the drifted centre for kinds 3
  // (301, 299) and 11 (299, 299); 15/2 + 1 = 8.5 for kind 6, 29/2 + 1 = 15.5 for kind 7.
  const struct { int kind, left, right, y; std::uint32_t alpha; Colour rgb; } cases[] = {
      {3, 291, 311, 299, 141, 0xF58C05}, {6, 291, 308, 300, 125, 0xF58C05},
      {7, 284, 315, 300, 167, 0x0095B0}, {11, 289, 309, 299, 141, 0x0095B0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.kind);
    clear_effects();
    spawn_explosion(c.kind, 300.0f, 300.0f);
    expect_centre_row(update_explosions, 1, c.left, c.right, c.y, on_black(c.alpha, c.rgb));
  }
  clear_effects();  // kind 6 is drawn in 16 frames, no more
  spawn_explosion(6, 50.0f, 50.0f);
  for (int frame = 1; frame <= 17; ++frame) {
    fresh_page();
    update_explosions();
    ASSERT_EQ(count_non_black() > 0, frame <= 16) << frame;
  }
}

TEST_F(Effects, FullTablesDrawNoRandomNumber) {
  randomize(7);
  const double first = rnd(), second = rnd();
  for (int i = 1; i <= kExplosionSlots; ++i) explosions[i].life = 3;
  for (int i = 1; i <= kSparkSlots; ++i) sparks[i].life = 3;
  randomize(7);
  spawn_explosion(1, 10.0f, 10.0f);
  spawn_spark(10.0f, 10.0f, 1);
  EXPECT_EQ(rnd(), first);
  explosions[20].life = 0;  // one free slot each: exactly one draw each
  sparks[90].life = 0;
  randomize(7);
  spawn_explosion(1, 10.0f, 10.0f);
  EXPECT_EQ(explosions[20].kind, 1);
  EXPECT_EQ(rnd(), second);
  randomize(7);
  spawn_spark(10.0f, 10.0f, 1);
  EXPECT_EQ(sparks[90].life, 10);
  EXPECT_EQ(rnd(), second);
}

TEST_F(Effects, SparkFlies40PixelsAndLeavesFourTrailParticles) {
  randomize(11);
  const int degrees = static_cast<int>(std::floor(rnd() * 359)) + 1;  // whole degrees 1..359
  randomize(11);
  spawn_spark(300.0f, 200.0f, 1);
  const Spark& s = sparks[1];
  EXPECT_EQ(s.angle, degrees * 3.141593 / 180);
  float trail_x[4], trail_y[4];
  for (int frame = 1, trails = 0; frame <= 11; ++frame) {
    round_state.frame_cycle = round_state.frame_cycle % 5 + 1;
    update_sparks();
    if (frame <= 10 && (round_state.frame_cycle == 1 || round_state.frame_cycle == 3)) {
      trail_x[trails] = s.x;
      trail_y[trails++] = s.y;
    }
  }
  EXPECT_EQ(s.life, 0);
  EXPECT_NEAR(s.x, 300.0 + 40.0 * std::sin(s.angle), 1e-3);
  EXPECT_NEAR(s.y, 200.0 - 40.0 * std::cos(s.angle), 1e-3);
  for (int i = 1; i <= 5; ++i) {
    EXPECT_EQ(particles[i].kind, i <= 4 ? 12 : 0) << i;
    if (i <= 4) {
      EXPECT_EQ(std::pair(particles[i].x, particles[i].y), std::pair(trail_x[i - 1], trail_y[i - 1])) << i;
    }
  }
  // Kinds 10 and 11: 11 leaves kind 13, 10 and 12 leave nothing, on cycles 1 and 3 only.
  clear_effects();
  for (int kind : {11, 10, 12, 9}) spawn_spark(100.0f, 100.0f, kind);
  round_state.frame_cycle = 2;
  update_sparks();
  round_state.frame_cycle = 1;
  update_sparks();
  EXPECT_EQ(std::pair(particles[1].kind, particles[2].kind), std::pair(13, 12));
  EXPECT_EQ(particles[3].life, 0);
}

}  // namespace
