// Kamikazes: spawning, steering onto an end of the line, strikes, laser burns and their hits.
#include <gtest/gtest.h>

#include "combat_fixture.h"
#include "enemies/balls.h"
#include "enemies/hits.h"
#include "enemies/kamikazes.h"

using namespace combat_test;

TEST(KamikazeSteering, AimsForAnEndOfTheLineAndSettlesOnTheBearing) {
  fresh_round();  // horizontal: both aims go for the front end (375, 220)
  const int h1 = kamikaze_bearing_deg(place_kamikaze(1, 1, 100.0f, 100.0f, 0, 1));
  const int h2 = kamikaze_bearing_deg(place_kamikaze(1, 1, 100.0f, 100.0f, 0, 2));
  set_line_angle(0);  // vertical: aim 1 the front end (320, 275), aim 2 the rear end (320, 165)
  const int v1 = kamikaze_bearing_deg(place_kamikaze(1, 1, 100.0f, 220.0f, 0, 1));
  const int v2 = kamikaze_bearing_deg(place_kamikaze(1, 1, 100.0f, 220.0f, 0, 2));
  EXPECT_EQ((std::array{h1, h2, v1, v2}), (std::array{114, 114, 104, 76}));
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
  const int score[3][3] = {{}, {0, 75, 20}, {0, 100, 20}};
  const float energy[3][3] = {{}, {99.0f, 100.0f, 0.0f}, {97.75f, 100.0f, 0.0f}};
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
      EXPECT_FLOAT_EQ(round_state.energy, energy[kind][variant]);
      const int stayed = kamikazes[3].y == 400.0f;
      // Struck ones respawn at an edge; a killer-line kill releases the powerup where it was.
      EXPECT_EQ((std::array{round_state.score, round_state.line_hit, stayed}),
                (std::array{score[kind][variant], variant == 0 ? 1 : 0, variant == 2 ? 1 : 0}));
      EXPECT_EQ(powerup_at(1, 320.0f, 400.0f), variant == 1);
    }
}

TEST(KamikazeLaser, ABurnPaysSixtyFiveOrEightyOnlyInsideTheBox) {
  // Heading up from (320, y), a laser-white pixel 7 ahead of its sensing point (13 ahead).
  const int rows[][3] = {{1, 400, 65}, {2, 400, 80}, {1, 460, 0}};  // at 460 its centre lies outside the box
  for (const auto& [kind, y, score] : rows) {
    SCOPED_TRACE(testing::Message() << "kind " << kind << " at y " << y);
    fresh_round();
    set_line_angle(0);
    place_kamikaze(1, kind, 320.0f, static_cast<float>(y), 0);
    gfx_pset(nullptr, 320, y - 20.0f, 0xFFFFFFFFu);
    update_kamikazes();
    EXPECT_EQ((std::array{round_state.score, round_state.powerup_kills}), (std::array{score, score > 0 ? 1 : 0}));
  }
  // Just inside the box by the top edge its forward points lie off the page, which reads
  // white: that is no beam. A live kamikaze keeps its wave open.
  fresh_round();
  place_kamikaze(1, 1, 320.0f, 21.0f, 0);
  update_kamikazes();
  EXPECT_EQ((std::array{round_state.score, round_state.enemy_alive}), (std::array{0, 1}));
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
  EXPECT_EQ((std::array{projectiles[1].active, round_state.score}), (std::array{0, 100 + 75 + 100}));
  EXPECT_EQ(kamikazes[3].x, 170.0f);
  EXPECT_TRUE(powerup_at(1, 200.0f, 219.0f));  // the second kill (slot 2) completed the count
}
