// The steps of an ordinary frame before anything is drawn: weapons, firing, turning and the
// background.
#include "round/frame_steps.h"

#include <vector>

#include "round_test_support.h"

using namespace round_test;

namespace {

// The firing part of one frame, as the loop runs it.
void firing_frame() {
  compute_line_angle();
  select_weapon();
  fire_weapons();
  regenerate_energy();
  turn_line();
}

using FrameStepsTest = RoundTest;

TEST_F(FrameStepsTest, HoldingFireShootsAtEachWeaponsOwnRate) {
  const struct {
    int weapon_key, fire_key, laser, blasters, frames;
    std::vector<int> shot_frames;
    int weapon, laser_left, blasters_left, sound, sound_count;
  } cases[] = {{0, kKeySpace, 0, 0, 16, {1, 8, 15}, 1, 0, 0, snd_cannon, 3},
               // The beam pays for itself later: firing takes no laser ammunition, makes no sound.
               {kKey2, kKeyUp, 5, 0, 8, {1, 4, 7}, 2, 5, 0, snd_cannon, 0},
               {kKey3, kKeyX, 0, 10, 26, {1, 13, 25}, 3, 0, 7, snd_blasters, 3}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.weapon);
    SetUp();
    round_state.laser_ammo = c.laser;
    round_state.blasters_ammo = c.blasters;
    if (c.weapon_key) hold(c.weapon_key);
    hold(c.fire_key);
    std::vector<int> fired;
    for (int f = 1; f <= c.frames; ++f) {
      const int before = shot_count;
      firing_frame();
      if (shot_count > before) fired.push_back(f);
    }
    EXPECT_EQ(fired, c.shot_frames);
    for (int i = 0; i < shot_count; ++i) EXPECT_EQ(shots[i].weapon, c.weapon);
    EXPECT_EQ(round_state.laser_ammo, c.laser_left);
    EXPECT_EQ(round_state.blasters_ammo, c.blasters_left);
    EXPECT_EQ(sound_count, c.sound_count);
    EXPECT_EQ(sounds_of(c.sound), c.sound_count);
  }
}

TEST_F(FrameStepsTest, AnEmptyWeaponFallsBackToCannonAndTheDoubleGunFiresBehind) {
  round_state.weapon = 2;  // laser selected but empty: back to the cannon
  hold(kKeySpace);
  firing_frame();
  ASSERT_EQ(shot_count, 1);
  EXPECT_EQ(shots[0].weapon, 1);

  // The rear gun fires half a turn round; blasters still pay for one shot.
  SetUp();
  round_state.double_gun_timer = 100;
  round_state.blasters_ammo = 2;
  round_state.weapon = 3;
  round_state.angle_deg = 30;
  hold(kKeySpace);
  firing_frame();
  ASSERT_EQ(shot_count, 2);
  const double a = 30 * 3.14159 / 180;
  EXPECT_EQ(shots[0].angle, a);
  EXPECT_EQ(shots[1].angle, a + (-3.141593));
  EXPECT_EQ(shots[0].gun, 1);
  EXPECT_EQ(shots[1].gun, 2);
  EXPECT_EQ(round_state.blasters_ammo, 1);
  EXPECT_EQ(sounds_of(snd_blasters), 1);
}

TEST_F(FrameStepsTest, LockedWeaponsAndNoEnergyStopShotsButOnlyEnergyStopsTurning) {
  for (int no_energy = 0; no_energy <= 1; ++no_energy) {
    SCOPED_TRACE(no_energy);
    SetUp();
    round_state.weapons_locked = 1 - no_energy;
    if (no_energy) round_state.energy = 0.0f;
    round_state.fire_cooldown = no_energy;  // as the frame that found the energy gone left it
    hold(kKeySpace);
    hold(kKeyRight);
    for (int f = 0; f < 20; ++f) firing_frame();
    EXPECT_EQ(shot_count, 0);
    EXPECT_EQ(round_state.angle_deg == 90, no_energy == 1);
  }
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
  firing_frame();
  EXPECT_EQ(shot_count, 1);
}

TEST_F(FrameStepsTest, TurningStepsWrapAroundAndLeaveTrailAngles) {
  const struct {
    int from, key1, key2, sluggish, to, dir, sounds, trail_slot, trail_deg;
  } cases[] = {{2, kKeyRight, 0, 0, 357, 3, 1, 3, 360},  // the trail is not wrapped
               {358, kKeyLeft, 0, 0, 3, 2, 1, 2, 1},
               {1, kKeyRight, 0, 5, 359, 3, 1, 0, 0},
               {100, kKeyRight, kKeyLeft, 0, 100, 2, 2, 0, 0}};  // both held: left wins
  for (const auto& c : cases) {
    SCOPED_TRACE(c.from);
    SetUp();
    round_state.angle_deg = c.from;
    round_state.rotate_dir = 1;
    round_state.sluggish_timer = c.sluggish;
    hold(c.key1);
    if (c.key2) hold(c.key2);
    turn_line();
    EXPECT_EQ(round_state.angle_deg, c.to);
    EXPECT_EQ(round_state.rotate_dir, c.dir);
    EXPECT_EQ(sounds_of(snd_turn), c.sounds);
    if (c.trail_slot) {
      EXPECT_EQ(round_state.trail_angle[c.trail_slot], static_cast<float>(c.trail_deg * 3.14159 / 180));
    }
    turn_line();
    if (!c.key2) {
      EXPECT_EQ(sounds_of(snd_turn), 1);  // only when the turn starts
    }
  }
}

TEST_F(FrameStepsTest, BackgroundCrossFadeTakesSixtyFourSteps) {
  const Colour& pixel = gfx_page(gfx_work_page_index())->row(100)[100];
  round_state.bg_fading = 1;
  round_state.bg_previous = 3;
  round_state.background = 1;
  draw_background();
  EXPECT_EQ(round_state.bg_fade_alpha, 4);
  EXPECT_TRUE(pixel != kPictureColour[1] && pixel != kPictureColour[3]);  // both pictures blended
  for (int step = 2; step <= 63; ++step) draw_background();
  EXPECT_EQ(round_state.bg_fade_alpha, 252);
  EXPECT_EQ(round_state.bg_fading, 1);
  draw_background();
  EXPECT_EQ(round_state.bg_fade_alpha, 255);
  EXPECT_EQ(round_state.bg_fading, 0);
  EXPECT_EQ(pixel, kPictureColour[1]);
}

}  // namespace
