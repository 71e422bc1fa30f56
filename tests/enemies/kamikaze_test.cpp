// Kamikazes: spawning, steering onto an end of the line, strikes, laser burns and their hits.
#include <gtest/gtest.h>

#include <cmath>

#include "combat_fixture.h"
#include "enemies/balls.h"
#include "enemies/hits.h"
#include "enemies/kamikazes.h"

using namespace combat_test;

namespace {

Kamikaze& place_kamikaze(int slot, int kind, float x, float y, int heading, float speed = 0.0f, int aim = 1) {
  Kamikaze& k = kamikazes[slot];
  k = Kamikaze{};
  k.kind = kind;
  k.hp = kind;
  k.turn_step = kind;
  k.x = x;
  k.y = y;
  k.heading_deg = heading;
  k.angle = heading * kPi6 / 180.0;
  k.speed = speed;
  k.aim = aim;
  k.active = 1;
  if (round_state.kamikaze_count < slot) round_state.kamikaze_count = slot;
  return k;
}

}  // namespace

TEST(KamikazeSpawn, FiveDrawsInOrderGiveBandEntryHeadingAndAim) {
  fresh_round();
  struct Band {
    int xw, xo, yw, yo;
  };
  const Band bands[4] = {{20, -40, 500, -20}, {20, 680, 500, -20}, {660, -20, 20, -30}, {660, -20, 20, 470}};
  for (int n = 0; n < 400; ++n) {
    double v[6];
    draws_after_seed(17 + n * 131, v, 6);
    round_state.wave_closing = n % 2;
    kamikazes[2].kind = 1 + n % 2;
    spawn_kamikaze(2);
    const Kamikaze& k = kamikazes[2];
    const Band& band = bands[static_cast<int>(std::floor(v[0] * 4))];
    ASSERT_EQ(k.x, std::floor(v[1] * band.xw) + band.xo);
    ASSERT_EQ(k.y, std::floor(v[2] * band.yw) + band.yo);
    const int spread = static_cast<int>(std::floor(v[3] * 200)) - 99;
    double off = k.angle * 180.0 / kPi6 - direction_to_pivot_deg(k.x, k.y) - spread;
    off = std::remainder(off, 360.0);
    ASSERT_NEAR(off, 0.0, 1e-3);
    ASSERT_EQ(k.heading_deg, static_cast<int>(std::nearbyint(k.angle * 180.0 / kPi6)));
    ASSERT_EQ(k.aim, static_cast<int>(std::floor(v[4] * 2)) + 1);
    ASSERT_EQ(rnd(), v[5]);
    ASSERT_EQ(k.active, n % 2 == 0 ? 1 : 0);
    ASSERT_EQ(k.hp, k.kind);
    ASSERT_EQ(k.turn_step, k.kind);
    ASSERT_FLOAT_EQ(k.speed, k.kind == 1 ? 1.92f : 2.28f);
  }
}

TEST(KamikazeSteering, AimsWithTheLineHorizontalAndVertical) {
  fresh_round();  // horizontal: both aims go for the front end (375, 220)
  Kamikaze& k = place_kamikaze(1, 1, 100.0f, 100.0f, 0);
  EXPECT_EQ(kamikaze_bearing_deg(k), 114);
  k.aim = 2;
  EXPECT_EQ(kamikaze_bearing_deg(k), 114);
  set_line_angle(0);  // vertical: aim 1 the front end (320, 275), aim 2 the rear end (320, 165)
  k.x = 100.0f;
  k.y = 220.0f;
  k.aim = 1;
  EXPECT_EQ(kamikaze_bearing_deg(k), 104);
  k.aim = 2;
  EXPECT_EQ(kamikaze_bearing_deg(k), 76);
}

TEST(KamikazeSteering, KindOneEndsExactlyOnItsBearingKindTwoWithinOneDegree) {
  for (int kind = 1; kind <= 2; ++kind) {
    for (int start = 0; start < 360; start += 7) {
      fresh_round();
      Kamikaze& k = place_kamikaze(1, kind, 100.0f, 100.0f, start);
      const int t = kamikaze_bearing_deg(k);
      update_kamikazes();
      const int first = std::abs(static_cast<int>(std::remainder(k.heading_deg - start, 360.0)));
      ASSERT_LE(first, kind);  // one step a frame at most
      for (int f = 0; f < 200; ++f) update_kamikazes();
      const int off = static_cast<int>(std::remainder(k.heading_deg - t, 360.0));
      if (kind == 1) ASSERT_EQ(off, 0) << start;
      else ASSERT_LE(std::abs(off), 1) << start;
      EXPECT_NEAR(k.angle, k.heading_deg * kPi6 / 180.0, 1e-12);
    }
  }
}

TEST(KamikazeStrike, CostsByKindOnTheOrdinaryLineAndPaysOnTheKillerLine) {
  for (int kind = 1; kind <= 2; ++kind) {
    for (int killer = 0; killer <= 1; ++killer) {
      fresh_round();
      set_line_angle(0);
      round_state.score = killer ? 0 : 20;
      round_state.killer_line_timer = killer ? 50 : 0;
      round_state.powerup_kills = 19;
      // Heading up from (320, 400) onto the front end (320, 275): S is 13 ahead at y 387.
      place_kamikaze(3, kind, 320.0f, 400.0f, 0);
      gfx_pset(nullptr, 314, 387, killer ? kBody : kTip);  // 6 to the left of S
      update_kamikazes();
      if (killer) {
        EXPECT_EQ(round_state.score, kind == 1 ? 75 : 100);
        EXPECT_EQ(round_state.energy, 100.0f);
        EXPECT_EQ(round_state.line_hit, 0);
        ASSERT_EQ(powerups[1].active, 1);
        EXPECT_EQ(powerups[1].x, 320.0f);
        EXPECT_EQ(powerups[1].y, 400.0f);
      } else {
        EXPECT_EQ(round_state.score, 0);
        EXPECT_FLOAT_EQ(round_state.energy, kind == 1 ? 99.0f : 97.75f);
        EXPECT_EQ(round_state.line_hit, 1);
        EXPECT_EQ(powerups[1].active, 0);
      }
      EXPECT_NE(kamikazes[3].y, 400.0f);  // respawned at an edge
    }
  }
}

TEST(KamikazeStrike, NoStrikeWithTheEnergyGone) {
  fresh_round();
  set_line_angle(0);
  round_state.energy = 0.0f;
  place_kamikaze(1, 1, 320.0f, 400.0f, 0);
  gfx_pset(nullptr, 314, 387, kBody);
  update_kamikazes();
  EXPECT_EQ(kamikazes[1].y, 400.0f);
  EXPECT_EQ(round_state.line_hit, 0);
}

TEST(KamikazeLaser, ABurnPaysSixtyFiveOrEightyInsideTheBox) {
  for (int kind = 1; kind <= 2; ++kind) {
    fresh_round();
    set_line_angle(0);
    place_kamikaze(1, kind, 320.0f, 400.0f, 0);
    gfx_pset(nullptr, 320, 380, 0xFFFEFFFFu);  // 7 ahead of S
    update_kamikazes();
    EXPECT_EQ(round_state.score, kind == 1 ? 65 : 80);
    EXPECT_EQ(round_state.powerup_kills, 1);
  }
  // Centre outside the box (y 460 or more): no burn.
  fresh_round();
  set_line_angle(0);
  place_kamikaze(1, 1, 320.0f, 460.0f, 0);
  gfx_pset(nullptr, 320, 440, 0xFFFFFFFFu);
  update_kamikazes();
  EXPECT_EQ(round_state.score, 0);
}

TEST(KamikazeLaser, SensingPointsOffThePageNeverCountAsLaser) {
  fresh_round();
  // Flying left near the left edge: points 9 and 10 ahead of S lie off the page.
  place_kamikaze(1, 1, 21.0f, 200.0f, 270);
  update_kamikazes();
  EXPECT_EQ(round_state.score, 0);
  EXPECT_EQ(kamikazes[1].hp, 1);
  // A real beam on the page there still burns it.
  clear_page();
  box(0, 190, 4, 210, 0xFFFFFFFFu);
  update_kamikazes();
  EXPECT_EQ(round_state.score, 65);
}

TEST(KamikazeHits, TheCannonHitsOnlyOverTheFillWithinFourteen) {
  struct Shot {
    float x, y;
    bool hits;
  };
  // Kamikaze at (320, 400) heading up: base (310..330, 400), nose (320, 372).
  const Shot shots[] = {{320.0f, 390.0f, true},    // fill, 10 ahead
                        {320.0f, 385.0f, false},   // fill, but 15 ahead
                        {320.0f, 386.0f, false},   // fill, but 14 ahead
                        {320.0f, 400.0f, false},   // the outline of the base
                        {300.0f, 395.0f, false}};  // background beside it
  for (const Shot& s : shots) {
    for (int kind = 1; kind <= 2; ++kind) {
      fresh_round();
      set_line_angle(0);
      round_state.ball_count = 0;
      place_kamikaze(1, kind, 320.0f, 400.0f, 0);
      update_kamikazes();
      ASSERT_EQ(gfx_point(nullptr, 320, 390), kind == 1 ? kKamikazeFill1 : kKamikazeFill2);
      place_shot(1, 1, s.x, s.y);
      check_projectile_hits(1);
      EXPECT_EQ(projectiles[1].active, s.hits ? 0 : 1) << s.x << "," << s.y;
      if (!s.hits) {
        EXPECT_EQ(kamikazes[1].hp, kind);
      }
      if (s.hits && kind == 2) {
        EXPECT_EQ(kamikazes[1].hp, 1);  // the pass ends with it alive
        place_shot(1, 1, s.x, s.y);
        check_projectile_hits(1);
        EXPECT_EQ(round_state.score, 100);
      }
      if (s.hits && kind == 1) {
        EXPECT_EQ(round_state.score, 75);
      }
    }
  }
}

TEST(KamikazeHits, BlastersTriggerAtTwentyAndBlastThirtyReleasingThePowerupWhereTheCountCompletes) {
  fresh_round();
  round_state.powerup_kills = 18;
  place_kamikaze(1, 2, 229.0f, 200.0f, 0);  // 29 away: blast only
  place_kamikaze(2, 1, 200.0f, 219.0f, 0);  // 19 away: the trigger
  place_kamikaze(3, 1, 170.0f, 200.0f, 0);  // 30 away: outside
  place_kamikaze(4, 2, 180.0f, 180.0f, 0);  // 20 on both axes: blast
  place_shot(1, 3, 200.0f, 200.0f);
  check_projectile_hits(1);
  EXPECT_EQ(projectiles[1].active, 0);
  EXPECT_EQ(round_state.score, 100 + 75 + 100);
  EXPECT_EQ(kamikazes[3].x, 170.0f);
  ASSERT_EQ(powerups[1].active, 1);  // the second kill (slot 2) completed the count
  EXPECT_EQ(powerups[1].x, 200.0f);
  EXPECT_EQ(powerups[1].y, 219.0f);
}

TEST(KamikazeHits, HomingPullsTowardTheBallsFirstThenTheKamikazes) {
  fresh_round();
  round_state.homing_timer = 5;
  place_ball(1, 1, 240.0f, 200.0f);                 // pulls the heading to 6
  place_kamikaze(1, 1, 200.0f, 150.0f, 0);          // bearing 180 from 6: to 12
  place_shot(1, 1, 200.0f, 200.0f, 0.0);
  check_projectile_hits(1);
  EXPECT_EQ(projectiles[1].heading_deg, 12);
}

TEST(KamikazeFlight, DrawsATriangleWithItsSlotOutlineAndOnlyUpToTheCount) {
  fresh_round();
  set_line_angle(0);
  place_kamikaze(1, 1, 320.0f, 400.0f, 0);
  place_kamikaze(2, 1, 100.0f, 400.0f, 0).active = 0;
  round_state.kamikaze_count = 1;
  place_kamikaze(3, 2, 500.0f, 400.0f, 0, 2.28f);
  round_state.kamikaze_count = 1;
  update_kamikazes();
  EXPECT_EQ(round_state.enemy_alive, 1);
  EXPECT_EQ(gfx_point(nullptr, 320, 400), 0xFFAB00ABu);  // slot 1, kind 1
  EXPECT_EQ(gfx_point(nullptr, 320, 372), 0xFFAB00ABu);  // the nose
  EXPECT_EQ(kamikazes[3].y, 400.0f);
}
