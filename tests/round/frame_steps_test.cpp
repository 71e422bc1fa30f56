// The steps of an ordinary frame before anything is drawn: weapons, firing, turning and timers.
#include "round/frame_steps.h"

#include <tuple>
#include <vector>

#include "round_test_support.h"

using namespace round_test;

namespace {

// The firing part of one frame, as the loop runs it; true when a shot left.
bool firing_frame() {
  const int before = shot_count;
  compute_line_angle();
  select_weapon();
  fire_weapons();
  regenerate_energy();
  turn_line();
  return shot_count > before;
}

using FrameStepsTest = RoundTest;

// Fire and Left are held throughout. Energy is life: without it neither shot nor turn, and
// regeneration comes back before the turn but after the shot the empty frame lost.
TEST_F(FrameStepsTest, ShotsComeAtEachWeaponsOwnRateUnlessLockedOrOutOfEnergy) {
  const struct {
    int weapon_key, fire_key, locked;
    float energy;
    int regen, frames;
    std::vector<int> shot_frames;
    int weapon, sounds, angle;
  } cases[] = {{0, kKeySpace, 0, 100.0f, 0, 16, {1, 8, 15}, 1, 3, 170},
               // The beam pays for itself later: firing takes no laser ammunition, makes no sound.
               {kKey2, kKeyUp, 0, 100.0f, 0, 8, {1, 4, 7}, 2, 0, 130},
               {kKey3, kKeyX, 0, 100.0f, 0, 26, {1, 13, 25}, 3, 3, 220},
               {0, kKeySpace, 1, 100.0f, 0, 16, {}, 1, 0, 170},
               {0, kKeySpace, 0, 0.0f, 0, 16, {}, 1, 0, 90},
               {0, kKeySpace, 0, 0.0f, 3, 3, {3}, 1, 1, 105}};
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
    SetUp();
    round_state.laser_ammo = round_state.blasters_ammo = 10;
    round_state.weapons_locked = c.locked;
    round_state.energy = c.energy;
    round_state.fire_cooldown = c.energy == 0.0f;  // as the frame that found the energy gone left it
    round_state.energy_regen_timer = c.regen;
    if (c.weapon_key) hold(c.weapon_key);
    hold(c.fire_key);
    hold(kKeyLeft);
    std::vector<int> fired;
    for (int f = 1; f <= c.frames; ++f)
      if (firing_frame()) fired.push_back(f);
    EXPECT_EQ(fired, c.shot_frames);
    for (int i = 0; i < shot_count; ++i) EXPECT_EQ(shots[i].weapon, c.weapon);
    EXPECT_EQ((std::array{round_state.laser_ammo, round_state.blasters_ammo, round_state.angle_deg}),
              (std::array{10, c.weapon == 3 ? 7 : 10, c.angle}));
    EXPECT_EQ(sounds_of(c.weapon == 3 ? snd_blasters : snd_cannon), c.sounds);
  }
}

TEST_F(FrameStepsTest, TurningStepsWrapAround) {
  for (auto [from, key, sluggish, to, dir] :
       {std::array{2, +kKeyRight, 0, 357, 3}, {358, +kKeyLeft, 0, 3, 2}, {1, +kKeyRight, 5, 359, 3}}) {
    SCOPED_TRACE(from);
    SetUp();
    round_state.angle_deg = from;
    round_state.rotate_dir = 1;
    round_state.sluggish_timer = sluggish;
    hold(key);
    turn_line();
    EXPECT_EQ((std::array{round_state.angle_deg, round_state.rotate_dir}), (std::array{to, dir}));
  }
}

TEST_F(FrameStepsTest, PowerupTimersCountDownToZeroOnly) {
  RoundState& rs = round_state;
  std::tie(rs.short_line_timer, rs.long_line_timer, rs.killer_line_timer, rs.double_gun_timer, rs.no_hole_timer,
           rs.sluggish_timer, rs.homing_timer) = std::tuple{1, 2, 3, 4, 5, 6, 0};
  count_down_powerup_timers();
  count_down_powerup_timers();
  EXPECT_EQ((std::array{rs.short_line_timer, rs.long_line_timer, rs.killer_line_timer, rs.double_gun_timer,
                        rs.no_hole_timer, rs.sluggish_timer, rs.homing_timer}),
            (std::array{0, 0, 1, 2, 3, 4, 0}));
}

}  // namespace
