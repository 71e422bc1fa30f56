// The steps of an ordinary frame before anything is drawn: weapons, firing, turning and timers.
#include "round/frame_steps.h"

#include <tuple>
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
    int weapon, laser_left, blasters_left, sound, sounds;
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
    EXPECT_EQ((std::array{round_state.laser_ammo, round_state.blasters_ammo, sound_count, sounds_of(c.sound)}),
              (std::array{c.laser_left, c.blasters_left, c.sounds, c.sounds}));
  }
}

// Energy is life: without it neither shot nor turn, and regeneration comes back before the turn
// but after the shot the empty frame lost.
TEST_F(FrameStepsTest, LockedWeaponsAndNoEnergyStopShotsAndRegenerationComesBeforeTheTurn) {
  const struct {
    int locked;
    float energy;
    int regen, angle, shots;
  } cases[] = {{1, 100.0f, 0, 95, 0}, {0, 0.0f, 0, 90, 0}, {0, 0.0f, 3, 95, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.regen * 10 + c.locked);
    SetUp();
    round_state.weapons_locked = c.locked;
    round_state.energy = c.energy;
    round_state.fire_cooldown = c.energy == 0.0f;  // as the frame that found the energy gone left it
    round_state.energy_regen_timer = c.regen;
    hold(kKeySpace);
    hold(kKeyLeft);
    firing_frame();
    EXPECT_EQ(round_state.angle_deg, c.angle);
    EXPECT_EQ(round_state.energy, c.regen ? 1.0f : c.energy);
    for (int f = 2; f <= 3; ++f) firing_frame();  // the cooldown left by the empty frame runs out
    EXPECT_EQ(shot_count, c.shots);
  }
}

TEST_F(FrameStepsTest, TurningStepsWrapAroundAndSoundOnlyWhenATurnStarts) {
  const struct {
    int from, key, sluggish, to, dir;
  } cases[] = {{2, kKeyRight, 0, 357, 3}, {358, kKeyLeft, 0, 3, 2}, {1, kKeyRight, 5, 359, 3}};
  for (auto [from, key, sluggish, to, dir] : cases) {
    SCOPED_TRACE(from);
    SetUp();
    round_state.angle_deg = from;
    round_state.rotate_dir = 1;
    round_state.sluggish_timer = sluggish;
    hold(key);
    turn_line();
    EXPECT_EQ((std::array{round_state.angle_deg, round_state.rotate_dir}), (std::array{to, dir}));
    turn_line();
    EXPECT_EQ(sounds_of(snd_turn), 1);
  }
}

TEST_F(FrameStepsTest, PowerupTimersCountDownToZeroOnly) {
  RoundState& rs = round_state;
  const auto timers = [&] { return std::array{rs.short_line_timer, rs.long_line_timer, rs.killer_line_timer,
                                              rs.double_gun_timer, rs.no_hole_timer, rs.sluggish_timer,
                                              rs.homing_timer}; };
  std::tie(rs.short_line_timer, rs.long_line_timer, rs.killer_line_timer, rs.double_gun_timer, rs.no_hole_timer,
           rs.sluggish_timer, rs.homing_timer) = std::tuple{1, 2, 3, 4, 5, 6, 0};
  count_down_powerup_timers();
  count_down_powerup_timers();
  EXPECT_EQ(timers(), (std::array{0, 0, 1, 2, 3, 4, 0}));
}

}  // namespace
