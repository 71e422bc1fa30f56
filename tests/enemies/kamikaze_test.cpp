// Kamikazes: spawning, steering onto an end of the line, strikes, laser burns and their hits.
#include <gtest/gtest.h>

#include "combat_fixture.h"
#include "enemies/balls.h"
#include "enemies/hits.h"
#include "enemies/kamikazes.h"

using namespace combat_test;

TEST(KamikazeSpawn, FiveDrawsInOrderGiveBandEntryHeadingAndAim) {
  fresh_round();
  const int bands[4][4] = {{20, -40, 500, -20}, {20, 680, 500, -20}, {660, -20, 20, -30}, {660, -20, 20, 470}};
  for (int n = 0; n < 400; ++n) {
    double v[6];
    draws_after_seed(17 + n * 131, v, 6);
    round_state.wave_closing = n % 2;
    kamikazes[2].kind = 1 + n % 2;
    spawn_kamikaze(2);
    const Kamikaze& k = kamikazes[2];
    const int* band = bands[static_cast<int>(std::floor(v[0] * 4))];
    ASSERT_EQ(k.x, std::floor(v[1] * band[0]) + band[1]);
    ASSERT_EQ(k.y, std::floor(v[2] * band[2]) + band[3]);
    const int spread = static_cast<int>(std::floor(v[3] * 200)) - 99;
    const double deg = k.angle * 180.0 / kPi6;
    ASSERT_NEAR(std::remainder(deg - direction_to_pivot_deg(k.x, k.y) - spread, 360.0), 0.0, 1e-3);
    ASSERT_EQ(k.heading_deg, static_cast<int>(std::nearbyint(deg)));
    ASSERT_EQ(k.aim, static_cast<int>(std::floor(v[4] * 2)) + 1);
    ASSERT_EQ(rnd(), v[5]);
    ASSERT_EQ(k.active, 1 - n % 2);
    ASSERT_EQ(k.hp, k.kind);
    ASSERT_EQ(k.turn_step, k.kind);
    ASSERT_FLOAT_EQ(k.speed, k.kind == 1 ? 1.92f : 2.28f);
  }
}

TEST(KamikazeSteering, AimsForAnEndOfTheLineAndSettlesOnTheBearing) {
  fresh_round();  // horizontal: both aims go for the front end (375, 220)
  Kamikaze& k = place_kamikaze(1, 1, 100.0f, 100.0f, 0);
  EXPECT_EQ(kamikaze_bearing_deg(k), 114);
  k.aim = 2;
  EXPECT_EQ(kamikaze_bearing_deg(k), 114);
  set_line_angle(0);  // vertical: aim 1 the front end (320, 275), aim 2 the rear end (320, 165)
  k.y = 220.0f;
  EXPECT_EQ(kamikaze_bearing_deg(k), 76);
  k.aim = 1;
  EXPECT_EQ(kamikaze_bearing_deg(k), 104);
  // Kind 1 ends exactly on its bearing, kind 2 within a degree, at most one step a frame.
  for (int kind = 1; kind <= 2; ++kind)
    for (int start = 0; start < 360; start += 7) {
      fresh_round();
      Kamikaze& m = place_kamikaze(1, kind, 100.0f, 100.0f, start);
      const int t = kamikaze_bearing_deg(m);
      update_kamikazes();
      ASSERT_LE(std::abs(std::remainder(m.heading_deg - start, 360.0)), kind);
      for (int f = 0; f < 200; ++f) update_kamikazes();
      ASSERT_LE(std::abs(std::remainder(m.heading_deg - t, 360.0)), kind - 1) << kind << " from " << start;
      ASSERT_NEAR(m.angle, m.heading_deg * kPi6 / 180.0, 1e-12);
    }
}

TEST(KamikazeStrike, CostsByKindOnTheOrdinaryLinePaysOnTheKillerLineAndNeedsEnergy) {
  for (int kind = 1; kind <= 2; ++kind)
    for (int variant = 0; variant < 3; ++variant) {  // ordinary line, killer line, energy gone
      SCOPED_TRACE(testing::Message() << "kind " << kind << " variant " << variant);
      fresh_round();
      set_line_angle(0);
      round_state.score = variant == 1 ? 0 : 20;
      round_state.killer_line_timer = variant == 1 ? 50 : 0;
      round_state.energy = variant == 2 ? 0.0f : 100.0f;
      round_state.powerup_kills = 19;
      // Heading up from (320, 400) onto the front end (320, 275): S is 13 ahead at y 387.
      place_kamikaze(3, kind, 320.0f, 400.0f, 0);
      gfx_pset(nullptr, 314, 387, variant == 0 ? kTip : kBody);  // 6 to the left of S
      update_kamikazes();
      const int score[3][3] = {{}, {0, 75, 20}, {0, 100, 20}};
      const float energy[3][3] = {{}, {99.0f, 100.0f, 0.0f}, {97.75f, 100.0f, 0.0f}};
      EXPECT_EQ(round_state.score, score[kind][variant]);
      EXPECT_FLOAT_EQ(round_state.energy, energy[kind][variant]);
      EXPECT_EQ(round_state.line_hit, variant == 0 ? 1 : 0);
      EXPECT_EQ(kamikazes[3].y == 400.0f, variant == 2);  // struck ones respawn at an edge
      EXPECT_EQ(powerups[1].active, variant == 1 ? 1 : 0);
      EXPECT_TRUE(variant != 1 || (powerups[1].x == 320.0f && powerups[1].y == 400.0f));  // where it was
    }
}

TEST(KamikazeLaser, ABurnPaysSixtyFiveOrEightyOnlyInsideTheBoxAndNeverOffThePage) {
  struct Row {
    int kind, line_angle;
    float x, y, bx, by, bw, bh;  // a laser-white box, none when bw < 0
    int heading, score;
  };
  const Row rows[] = {{1, 0, 320, 400, 320, 380, 0, 0, 0, 65},  // 7 ahead of S
                      {2, 0, 320, 400, 320, 380, 0, 0, 0, 80},
                      {1, 0, 320, 460, 320, 440, 0, 0, 0, 0},   // centre outside the box
                      {1, 90, 21, 200, 0, 0, -1, 0, 270, 0},    // flying left: points ahead lie off the page
                      {1, 90, 21, 200, 0, 190, 4, 20, 270, 65}};  // ...yet a real beam there burns it
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << "kind " << r.kind << " at " << r.x << "," << r.y);
    fresh_round();
    set_line_angle(r.line_angle);
    place_kamikaze(1, r.kind, r.x, r.y, r.heading);
    if (r.bw >= 0) box(r.bx, r.by, r.bx + r.bw, r.by + r.bh, 0xFFFFFFFFu);
    update_kamikazes();
    EXPECT_EQ(round_state.score, r.score);
    EXPECT_EQ(round_state.powerup_kills, r.score > 0 ? 1 : 0);
  }
}

TEST(KamikazeHits, TheCannonHitsOnlyOverTheFillWithinFourteen) {
  struct Shot {
    float x, y;
    bool hits;
  };
  // Kamikaze at (320, 400) heading up: base (310..330, 400), nose (320, 372).
  const Shot shots[] = {{320, 390, true},    // fill, 10 ahead
                        {320, 386, false},   // fill, but 14 ahead
                        {320, 400, false},   // the outline of the base
                        {300, 395, false}};  // background beside it
  for (const Shot& s : shots)
    for (int kind = 1; kind <= 2; ++kind) {
      SCOPED_TRACE(testing::Message() << "kind " << kind << " shot " << s.x << "," << s.y);
      fresh_round();
      set_line_angle(0);
      round_state.ball_count = 0;
      place_kamikaze(1, kind, 320.0f, 400.0f, 0);
      update_kamikazes();
      ASSERT_EQ(gfx_point(nullptr, 320, 390), kind == 1 ? kKamikazeFill1 : kKamikazeFill2);
      EXPECT_EQ(gfx_point(nullptr, 320, 372), kind == 1 ? 0xFFAB00ABu : 0xFF3E00ADu);  // slot 1's outline
      for (int shot = 1; shot <= kind; ++shot) {
        place_shot(1, 1, s.x, s.y);
        check_projectile_hits(1);
        EXPECT_EQ(projectiles[1].active, s.hits ? 0 : 1);
      }
      EXPECT_EQ(round_state.score, s.hits ? 50 + 25 * kind : 0);
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
  place_ball(1, 1, 240.0f, 200.0f);         // pulls the heading to 6
  place_kamikaze(1, 1, 200.0f, 150.0f, 0);  // bearing 180 from 6: to 12
  place_shot(1, 1, 200.0f, 200.0f, 0.0);
  check_projectile_hits(1);
  EXPECT_EQ(projectiles[1].heading_deg, 12);
}
