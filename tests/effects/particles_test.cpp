// Particles by kind (life and disc), and the effect tables that draw no random number when
// full. How explosions and sparks move and fade shows in every recorded game.
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

TEST_F(Effects, FullTablesDrawNoRandomNumber) {
  std::fill(std::begin(explosions), std::end(explosions), Explosion{0, 0, 3, 0});
  std::fill(std::begin(sparks), std::end(sparks), Spark{0, 0, 3, 0, 0, 0});
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

}  // namespace
