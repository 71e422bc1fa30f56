// The steps of an ordinary frame before anything is drawn: weapons, firing, turning, timers and
// the background.
#include "round/frame_steps.h"

#include <cmath>
#include <vector>

#include "round_test_support.h"

using namespace round_test;

namespace {

class FrameStepsTest : public RoundTest {
 protected:
  // The firing part of one frame, as the loop runs it.
  static void firing_frame() {
    compute_line_angle();
    select_weapon();
    fire_weapons();
    regenerate_energy();
    turn_line();
  }
  // Frames (1-based) of a hold in which a shot left the front gun.
  static std::vector<int> shot_frames(int frames) {
    std::vector<int> fired;
    for (int f = 1; f <= frames; ++f) {
      const int before = shot_count;
      firing_frame();
      if (shot_count > before) fired.push_back(f);
    }
    return fired;
  }
};

TEST_F(FrameStepsTest, HoldingFireShootsAtEachWeaponsOwnRate) {
  hold(kKeySpace);
  EXPECT_EQ(shot_frames(16), (std::vector<int>{1, 8, 15}));
  EXPECT_EQ(sounds_of(snd_cannon), 3);

  SetUp();
  round_state.blasters_ammo = 10;
  hold(kKey3);
  hold(kKeyX);
  EXPECT_EQ(shot_frames(26), (std::vector<int>{1, 13, 25}));
  EXPECT_EQ(round_state.blasters_ammo, 7);
  EXPECT_EQ(shots[0].weapon, 3);

  SetUp();
  round_state.laser_ammo = 5;
  hold(kKey2);
  hold(kKeyUp);
  EXPECT_EQ(shot_frames(8), (std::vector<int>{1, 4, 7}));
  // The beam pays for itself later: firing takes no laser ammunition and makes no sound.
  EXPECT_EQ(round_state.laser_ammo, 5);
  EXPECT_EQ(sound_count, 0);
}

TEST_F(FrameStepsTest, WeaponKeysLastHeldWinsAndEmptyWeaponsFallBackToCannon) {
  round_state.laser_ammo = 1;
  round_state.blasters_ammo = 1;
  hold(kKey1);
  hold(kKey3);
  hold(kKey2);
  select_weapon();
  EXPECT_EQ(round_state.weapon, 3);

  SetUp();
  round_state.weapon = 2;  // laser selected but empty
  hold(kKeySpace);
  firing_frame();
  EXPECT_EQ(round_state.weapon, 1);
  ASSERT_EQ(shot_count, 1);
  EXPECT_EQ(shots[0].weapon, 1);
}

TEST_F(FrameStepsTest, DoubleGunAddsRearShotButBlastersPayOnce) {
  round_state.double_gun_timer = 100;
  round_state.angle_deg = 30;
  hold(kKeySpace);
  firing_frame();
  ASSERT_EQ(shot_count, 2);
  const double a = 30 * 3.14159 / 180;
  EXPECT_EQ(shots[0].angle, a);
  EXPECT_EQ(shots[0].gun, 1);
  EXPECT_EQ(shots[1].angle, a + (-3.141593));
  EXPECT_EQ(shots[1].gun, 2);

  SetUp();
  round_state.double_gun_timer = 100;
  round_state.blasters_ammo = 2;
  round_state.weapon = 3;
  hold(kKeySpace);
  firing_frame();
  EXPECT_EQ(shot_count, 2);
  EXPECT_EQ(round_state.blasters_ammo, 1);
  EXPECT_EQ(sounds_of(snd_blasters), 1);
}

TEST_F(FrameStepsTest, LockedWeaponsAndNoEnergyStopShotsButOnlyEnergyStopsTurning) {
  round_state.weapons_locked = 1;
  hold(kKeySpace);
  hold(kKeyRight);
  for (int f = 0; f < 20; ++f) firing_frame();
  EXPECT_EQ(shot_count, 0);
  EXPECT_NE(round_state.angle_deg, 90);

  SetUp();
  round_state.energy = 0.0f;
  round_state.fire_cooldown = 1;  // as the frame that found the energy gone left it
  hold(kKeySpace);
  hold(kKeyRight);
  for (int f = 0; f < 20; ++f) firing_frame();
  EXPECT_EQ(shot_count, 0);
  EXPECT_EQ(round_state.angle_deg, 90);
}

TEST_F(FrameStepsTest, RegenerationLiftsEnergyBeforeTurningButAfterTheLostShot) {
  round_state.energy = 0.0f;
  round_state.fire_cooldown = 1;
  round_state.energy_regen_timer = 3;
  hold(kKeySpace);
  hold(kKeyLeft);
  firing_frame();
  EXPECT_EQ(shot_count, 0);
  EXPECT_EQ(round_state.energy, 1.0f);
  EXPECT_EQ(round_state.angle_deg, 95);
  firing_frame();  // the cooldown left by the empty frame runs out
  EXPECT_EQ(shot_count, 0);
  firing_frame();
  EXPECT_EQ(shot_count, 1);

  SetUp();
  round_state.energy = 99.5f;
  round_state.energy_regen_timer = 2;
  regenerate_energy();
  EXPECT_EQ(round_state.energy, 100.0f);
  regenerate_energy();
  EXPECT_EQ(round_state.energy, 100.0f);
  EXPECT_EQ(round_state.energy_regen_timer, 0);
}

TEST_F(FrameStepsTest, TurningStepsWrapAroundAndLeaveTrailAngles) {
  round_state.angle_deg = 2;
  hold(kKeyRight);
  turn_line();
  EXPECT_EQ(round_state.angle_deg, 357);
  EXPECT_EQ(round_state.rotate_dir, 3);
  EXPECT_EQ(round_state.angle_rad, 357 * 3.14159 / 180);
  EXPECT_EQ(round_state.trail_angle[1], static_cast<float>(358 * 3.14159 / 180));
  EXPECT_EQ(round_state.trail_angle[3], static_cast<float>(360 * 3.14159 / 180));
  turn_line();
  EXPECT_EQ(sounds_of(snd_turn), 1);  // only when the turn starts

  SetUp();
  round_state.angle_deg = 358;
  hold(kKeyLeft);
  turn_line();
  EXPECT_EQ(round_state.angle_deg, 3);
  EXPECT_EQ(round_state.trail_angle[2], static_cast<float>(1 * 3.14159 / 180));

  SetUp();
  round_state.angle_deg = 1;
  round_state.sluggish_timer = 5;
  hold(kKeyRight);
  turn_line();
  EXPECT_EQ(round_state.rotate_step, 2);
  EXPECT_EQ(round_state.angle_deg, 359);

  SetUp();
  round_state.angle_deg = 100;
  round_state.rotate_dir = 1;
  hold(kKeyRight);
  hold(kKeyLeft);
  turn_line();
  EXPECT_EQ(round_state.angle_deg, 100);
  EXPECT_EQ(round_state.rotate_dir, 2);
  EXPECT_EQ(sounds_of(snd_turn), 2);
}

TEST_F(FrameStepsTest, PowerupTimersCountDownToZeroOnly) {
  RoundState& rs = round_state;
  rs.short_line_timer = 1;
  rs.long_line_timer = 2;
  rs.killer_line_timer = 3;
  rs.double_gun_timer = 4;
  rs.no_hole_timer = 5;
  rs.sluggish_timer = 6;
  rs.homing_timer = 0;
  count_down_powerup_timers();
  count_down_powerup_timers();
  EXPECT_EQ(rs.short_line_timer, 0);
  EXPECT_EQ(rs.long_line_timer, 0);
  EXPECT_EQ(rs.killer_line_timer, 1);
  EXPECT_EQ(rs.double_gun_timer, 2);
  EXPECT_EQ(rs.no_hole_timer, 3);
  EXPECT_EQ(rs.sluggish_timer, 4);
  EXPECT_EQ(rs.homing_timer, 0);
}

TEST_F(FrameStepsTest, BackgroundCrossFadeBlendsBothPicturesUntilTheLastStep) {
  Image& page = *gfx_page(gfx_work_page_index());
  RoundState& rs = round_state;
  rs.background = 3;
  draw_background();
  EXPECT_EQ(page.row(100)[100], kPictureColour[3]);

  rs.bg_fading = 1;
  rs.bg_previous = 3;
  rs.background = 1;
  rs.bg_fade_alpha = 0;
  // Expected pixel: the two blends of the same pictures onto a copy of the page.
  Image* expect = gfx_image_create(640, 480);
  gfx_put(expect, 0, 0, &page, kPutCopy);
  draw_background();
  gfx_put(expect, 0, 0, background_images[3], kPutBlend, 251);
  gfx_put(expect, 0, 0, background_images[1], kPutBlend, 4);
  EXPECT_EQ(rs.bg_fade_alpha, 4);
  EXPECT_EQ(page.row(100)[100], expect->row(100)[100]);
  EXPECT_NE(page.row(100)[100], kPictureColour[1]);

  for (int i = 0; i < 62; ++i) draw_background();
  EXPECT_EQ(rs.bg_fade_alpha, 252);
  EXPECT_EQ(rs.bg_fading, 1);
  draw_background();
  EXPECT_EQ(rs.bg_fade_alpha, 255);
  EXPECT_EQ(rs.bg_fading, 0);
  EXPECT_EQ(page.row(100)[100], kPictureColour[1]);
  gfx_image_destroy(expect);
}

}  // namespace
