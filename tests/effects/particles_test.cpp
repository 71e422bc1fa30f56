#include "effects/particles.h"

#include <array>
#include <cmath>

#include "effects/effects_test_support.h"

namespace {

using namespace effects_test;
using Effects = EffectsTest;

// After `frames` updates on fresh pages, row y holds `c` from x0 to x1 and black just outside.
void expect_row_after(void (*update)(), int frames, int x0, int x1, int y, Colour c) {
  for (int f = 1; f <= frames; ++f) {
    fresh_page();
    update();
  }
  auto at = [y](int x) { return gfx_point(nullptr, static_cast<float>(x), static_cast<float>(y)); };
  EXPECT_EQ((std::array{at(x0 - 1), at(x0), at(x1), at(x1 + 1)}), (std::array{kBlack, c, c, kBlack}));
}

TEST_F(Effects, CannonTrailDotIsDrawn35TimesFading98To30) {
  spawn_particle(1, 100.4f, 50.6f);
  for (int frame = 1; frame <= 36; ++frame) {
    fresh_page();
    update_particles();
    ASSERT_EQ(count_non_black(), frame <= 35 ? 1 : 0) << frame;
    ASSERT_EQ(gfx_point(nullptr, 100, 51), frame <= 35 ? on_black(2 * (35 - frame) + 30, 0xF3AE35) : kBlack) << frame;
  }
}

TEST_F(Effects, ParticleKindsLiveTheirTimeInTheFirstFreeSlotsAndDrawTheirDisc) {
  const int kinds[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 0, -3};
  const int lives[] = {35, 40, 40, 40, 40, 37, 40, 40, 32, 32, 40, 37, 37, 37, 40, 40};
  for (int kind : kinds) spawn_particle(kind, 10.0f, 20.0f);
  for (int i = 1; i <= 16; ++i)
    EXPECT_EQ(std::pair(particles[i].kind, particles[i].life), std::pair(kinds[i - 1], lives[i - 1])) << i;
  particles[3].life = 0;
  spawn_particle(9, 1.0f, 2.0f);
  EXPECT_EQ(std::pair(particles[3].kind, particles[17].life), std::pair(9, 0));
  // First frame, fractions kept: kind 6: 36/5 + 3 = 10.2; kind 9: 31/7 + 1 = 5.43;
  // kind 2: 39/5 + 1 = 8.8; kind 11: 39/7 + 1 = 6.57.
  const struct { int kind, left, right; std::uint32_t alpha; Colour rgb; } cases[] = {
      {6, 189, 210, 142, 0xFFB629}, {9, 194, 205, 67, 0x00A8C6}, {2, 191, 208, 128, 0x000091},
      {11, 193, 206, 103, 0x3D00AC}, {8, 0, 0, 0, 0}, {20, 0, 0, 0, 0}};  // 8 and unknown kinds are never drawn
  for (const auto& c : cases) {
    SCOPED_TRACE(c.kind);
    clear_effects();
    spawn_particle(c.kind, 200.0f, 200.0f);
    if (c.left) expect_row_after(update_particles, 1, c.left, c.right, 200, on_black(c.alpha, c.rgb));
    else EXPECT_EQ((fresh_page(), update_particles(), count_non_black()), 0);
  }
}

TEST_F(Effects, ExplosionsLiveDriftAndShrink) {
  const int lives[] = {0, 30, 28, 28, 28, 28, 16, 30, 28, 28, 28, 28, 40};
  for (int kind = 1; kind <= 12; ++kind) spawn_explosion(kind, 300.0f, 300.0f);
  for (int kind = 1; kind <= 12; ++kind) EXPECT_EQ(explosions[kind].life, lives[kind]) << kind;
  // Kind 1: radius 15.5 in its first frame (trunc(84.5)..trunc(115.5)), 1 in its 30th and last.
  clear_effects();
  spawn_explosion(1, 100.0f, 100.0f);
  expect_row_after(update_explosions, 1, 84, 115, 100, on_black(167, 0xF58C05));
  expect_row_after(update_explosions, 29, 99, 101, 100, on_black(80, 0xF58C05));
  // First frames of other kinds: radius 27/3 + 1 = 10 about the drifted centre for kinds 3
  // (301, 299) and 11 (299, 299); 29/2 + 1 = 15.5 for kind 7, 15/2 + 1 = 8.5 for kind 6.
  const struct { int kind, left, right, y; std::uint32_t alpha; Colour rgb; } cases[] = {
      {3, 291, 311, 299, 141, 0xF58C05}, {7, 284, 315, 300, 167, 0x0095B0}, {11, 289, 309, 299, 141, 0x0095B0},
      {6, 291, 308, 300, 125, 0xF58C05}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.kind);
    clear_effects();
    spawn_explosion(c.kind, 300.0f, 300.0f);
    expect_row_after(update_explosions, 1, c.left, c.right, c.y, on_black(c.alpha, c.rgb));
  }
  for (int frame = 2; frame <= 17; ++frame) {  // kind 6, the last case, is drawn in 16 frames, no more
    fresh_page();
    update_explosions();
    ASSERT_EQ(count_non_black() > 0, frame <= 16) << frame;
  }
}

TEST_F(Effects, FullTablesDrawNoRandomNumber) {
  std::ranges::fill(explosions, Explosion{0, 0, 3, 0});
  std::ranges::fill(sparks, Spark{0, 0, 3, 0, 0, 0});
  double draws[2];
  draws_after_seed(7, draws, 2);
  spawn_explosion(1, 10.0f, 10.0f);
  spawn_spark(10.0f, 10.0f, 1);
  EXPECT_EQ(rnd(), draws[0]);
  explosions[20].life = sparks[90].life = 0;  // one free slot each: exactly one draw each
  randomize(7);
  spawn_explosion(1, 10.0f, 10.0f);
  EXPECT_EQ(std::pair(explosions[20].kind, rnd()), std::pair(1, draws[1]));
  randomize(7);
  spawn_spark(10.0f, 10.0f, 1);
  EXPECT_EQ(std::pair(sparks[90].life, rnd()), std::pair(10, draws[1]));
}

TEST_F(Effects, SparkFlies40PixelsAndLeavesFourTrailParticles) {
  double draw;
  draws_after_seed(11, &draw, 1);
  const int degrees = static_cast<int>(std::floor(draw * 359)) + 1;  // whole degrees 1..359
  spawn_spark(300.0f, 200.0f, 1);
  const Spark& s = sparks[1];
  EXPECT_EQ(s.angle, degrees * 3.141593 / 180);
  Particle trail[5] = {};  // where the spark was on frame cycles 1 and 3 of its ten frames
  for (int frame = 1, n = 0; frame <= 11; ++frame) {
    round_state.frame_cycle = round_state.frame_cycle % 5 + 1;
    update_sparks();
    if (frame <= 10 && (round_state.frame_cycle == 1 || round_state.frame_cycle == 3)) trail[n++] = {s.x, s.y, 0, 12};
  }
  EXPECT_EQ(s.life, 0);  // after ten frames of 4 px
  EXPECT_NEAR(s.x, 300.0 + 40.0 * std::sin(s.angle), 1e-3);
  EXPECT_NEAR(s.y, 200.0 - 40.0 * std::cos(s.angle), 1e-3);
  auto where = [](const Particle& p) { return std::tuple(p.kind, p.x, p.y); };
  for (int i = 1; i <= 5; ++i) EXPECT_EQ(where(particles[i]), where(trail[i - 1])) << i;
}

}  // namespace
