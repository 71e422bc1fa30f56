// The laser beam's white core, which balls and kamikazes sense: where it runs along the line.
#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

#include "enemies/combat_fixture.h"
#include "line/weapons.h"

using namespace combat_test;

static int white_on_row_220(int x0, int x1) {
  const Colour* row = gfx_page(0)->row(220);
  return static_cast<int>(std::count(row + x0, row + x1, 0xFFFFFFFFu));
}

TEST(LaserBeam, TheCoreRunsFromFivePastTheEndTo350AndBackwardsToUnderTheDoubleGun) {
  for (int double_gun = 0; double_gun <= 1; ++double_gun) {
    fresh_round();
    // An empty glow, so only the white core reaches the page.
    Image* glow = std::exchange(ball_sprites[10], gfx_image_create(17, 17));
    round_state.double_gun_timer = 10 * double_gun;
    spawn_laser_beam(9, 0.0f, 0.0f);
    update_laser_beams();
    gfx_image_destroy(std::exchange(ball_sprites[10], glow));
    // r from 60 to 350 is x 380..670, clipped at 639; behind the pivot x 260 down to 0.
    EXPECT_EQ((std::array{white_on_row_220(0, 380), white_on_row_220(380, 640)}), (std::array{261 * double_gun, 260}));
  }
}

// Beams burning together put their glow once for all: the page must be the one beam after beam
// leaves, glow over glow saturating and the core white over everything, at any angle, with and
// without the double gun, on a page and a glow sprite of random colours.
TEST(LaserBeam, BeamsBurningTogetherLeaveThePageOfBeamAfterBeam) {
  std::mt19937 gen(41);
  for (int beams = 1; beams <= 3; ++beams) {
    for (int double_gun = 0; double_gun <= 1; ++double_gun) {
      for (int angle : {0, 37, 90, 133, 251}) {
        fresh_round();
        set_line_angle(angle);
        round_state.double_gun_timer = 10 * double_gun;
        round_state.laser_ammo = 50;
        Image* glow = gfx_image_create(18, 18);
        for (Colour& c : glow->pixels) c = gen() % 5 == 0 ? kMaskColour : gen();
        Image* kept = std::exchange(ball_sprites[10], glow);
        for (Colour& c : gfx_page(0)->pixels) c = gen();
        const std::vector<Colour> before = gfx_page(0)->pixels;

        // Beam after beam, by hand.
        const RoundState& rs = round_state;
        auto point = [&](double r) {
          gfx_put(nullptr, static_cast<float>(r * rs.angle_sin + 307.0), static_cast<float>(r * rs.angle_cos + 207.0),
                  glow, kPutAdditive, 132);
          gfx_pset(nullptr, static_cast<float>(320.0 + r * rs.angle_sin), static_cast<float>(220.0 + r * rs.angle_cos),
                   0xFFFFFFFFu);
        };
        for (int b = 0; b < beams; ++b)
          for (int r = rs.line_half_length + 5; r <= 350; ++r) {
            point(r);
            if (double_gun) point(-r);
          }
        const std::vector<Colour> want = gfx_page(0)->pixels;

        gfx_page(0)->pixels = before;
        for (int b = 0; b < beams; ++b) spawn_laser_beam(9, 0.0f, 0.0f);
        update_laser_beams();
        EXPECT_TRUE(gfx_page(0)->pixels == want) << beams << " beams, double gun " << double_gun << ", angle " << angle;
        EXPECT_EQ(round_state.laser_ammo, 50 - beams);
        gfx_image_destroy(std::exchange(ball_sprites[10], kept));
      }
    }
  }
}
