// The round's timetable, its waves, bonuses, awards and backgrounds, and the new-game reset.
#include "round/phase_script.h"

#include <string>
#include <vector>

#include "frame/random.h"
#include "frame/rounding.h"
#include "round/frame_steps.h"
#include "round_test_support.h"

using namespace round_test;

namespace {

// The texts of the messages shown since the last look, in slot order; frees their slots.
std::vector<std::string> take_messages() {
  std::vector<std::string> texts;
  for (int i = 1; i <= kMessageSlots; ++i)
    if (messages[i].active) {
      texts.emplace_back(messages[i].text, static_cast<std::size_t>(messages[i].text_length));
      messages[i].active = 0;
    }
  return texts;
}

using Texts = std::vector<std::string>;

class PhaseScriptTest : public RoundTest {
 protected:
  void SetUp() override {
    RoundTest::SetUp();
    take_messages();
  }
  static void at_second(int s, int enemy_alive = 0) {
    round_state.round_seconds = s;
    round_state.enemy_alive = enemy_alive;
    run_phase_script();
  }
  static std::vector<int> ball_kinds() {
    std::vector<int> kinds;
    for (int i = 1; i <= round_state.ball_count; ++i) kinds.push_back(balls[i].kind);
    return kinds;
  }
  static std::vector<int> runs(std::initializer_list<std::pair<int, int>> counts_and_kinds) {
    std::vector<int> v;
    for (auto [count, kind] : counts_and_kinds) v.insert(v.end(), count, kind);
    return v;
  }
};

TEST_F(PhaseScriptTest, TheWholeTimetableInOrder) {
  RoundState& rs = round_state;
  at_second(1);
  EXPECT_EQ(rs.phase, 0);
  at_second(2);
  EXPECT_EQ(rs.phase, 1);
  EXPECT_EQ(take_messages(), Texts{"Get Ready!"});
  at_second(4);
  EXPECT_EQ(rs.phase, 1);
  rs.line_hit = 1;
  at_second(5);
  EXPECT_EQ(rs.phase, 2);
  EXPECT_EQ(rs.line_hit, 0);
  EXPECT_EQ(take_messages(), Texts{"Warm-up!"});
  EXPECT_EQ(ball_kinds(), runs({{8, 1}, {2, 2}}));
  EXPECT_EQ(rs.kamikaze_count, 0);

  // A wave never ends on the clock alone, and a cleared wave waits for its closing second.
  at_second(29);
  EXPECT_EQ(rs.wave_closing, 0);
  at_second(30);
  EXPECT_EQ(rs.wave_closing, 1);
  EXPECT_EQ(rs.phase, 2);
  at_second(31, 1);
  EXPECT_EQ(rs.phase, 2);
  at_second(31);
  EXPECT_EQ(rs.phase, 3);
  EXPECT_EQ(rs.wave_closing, 0);
  EXPECT_EQ(take_messages(), (Texts{"Let's Begin!", "No hit! Super bonus! + 4000"}));
  EXPECT_EQ(rs.score, 4000);
  EXPECT_EQ(ball_kinds(), runs({{9, 1}, {6, 2}, {5, 3}}));

  // Struck during wave 2: no bonus for it.
  rs.line_hit = 1;
  at_second(125, 1);
  EXPECT_EQ(rs.wave_closing, 1);
  at_second(126);
  EXPECT_EQ(rs.phase, 4);
  EXPECT_EQ(rs.weapons_locked, 1);
  EXPECT_EQ(rs.line_hit, 0);
  EXPECT_EQ(rs.score, 4000);
  EXPECT_EQ(take_messages(), Texts{"Warning!!! Weapons locked!"});
  EXPECT_EQ(ball_kinds(), runs({{8, 1}, {8, 2}, {5, 3}, {4, 4}}));
  EXPECT_EQ(rs.bg_fading, 1);
  EXPECT_EQ(rs.bg_previous, 3);
  EXPECT_EQ(rs.background, 1);
  EXPECT_EQ(rs.bg_fade_alpha, 0);

  at_second(200, 1);
  at_second(201);
  EXPECT_EQ(rs.phase, 5);
  EXPECT_EQ(rs.weapons_locked, 0);
  EXPECT_EQ(rs.ball_accuracy, 2);
  EXPECT_EQ(rs.energy_regen_timer, 60);
  EXPECT_EQ(rs.score, 10000);
  EXPECT_EQ(take_messages(), (Texts{"Accurate balls attack!", "No hit! Super bonus! + 6000",
                                    "Energy Awarded! + 60"}));
  EXPECT_EQ(ball_kinds(), runs({{4, 2}, {2, 3}, {9, 4}}));
  EXPECT_EQ(rs.background, 1);

  at_second(265, 1);
  at_second(266);
  EXPECT_EQ(rs.phase, 6);
  EXPECT_EQ(rs.ball_accuracy, 1);
  EXPECT_EQ(rs.energy_regen_timer, 70);
  EXPECT_EQ(rs.score, 15000);
  EXPECT_EQ(take_messages(), (Texts{"Here comes another tough wave!", "No hit! Super bonus! + 5000",
                                    "Energy Awarded! + 70"}));
  EXPECT_EQ(ball_kinds(), runs({{12, 2}, {7, 3}, {5, 4}, {4, 5}}));
  EXPECT_EQ(rs.bg_previous, 1);
  EXPECT_EQ(rs.background, 2);

  at_second(380, 1);
  at_second(381);
  EXPECT_EQ(rs.phase, 7);
  EXPECT_EQ(rs.energy_regen_timer, 80);
  EXPECT_EQ(rs.score, 21000);
  EXPECT_EQ(take_messages(), (Texts{"Kamikaze Attack!", "No hit! Super bonus! + 6000",
                                    "Energy Awarded! + 80"}));
  EXPECT_EQ(rs.ball_count, 0);
  ASSERT_EQ(rs.kamikaze_count, 8);
  for (int i = 1; i <= 8; ++i) EXPECT_EQ(kamikazes[i].kind, i <= 5 ? 1 : 2) << i;
  EXPECT_EQ(rs.bg_previous, 2);
  EXPECT_EQ(rs.background, 4);

  at_second(460, 1);
  EXPECT_EQ(rs.wave_closing, 1);
  at_second(468);
  EXPECT_EQ(rs.phase, 7);
  at_second(469);
  EXPECT_EQ(rs.phase, 8);
  EXPECT_EQ(rs.wave_closing, 1);
  EXPECT_EQ(rs.score, 26000);
  EXPECT_EQ(take_messages(), Texts{"No hit! Super bonus! + 5000"});
  at_second(600);
  EXPECT_EQ(rs.phase, 8);
  EXPECT_TRUE(take_messages().empty());
}

TEST_F(PhaseScriptTest, APhaseBegunLateChainsIntoTheNextInTheSameCall) {
  RoundState& rs = round_state;
  rs.phase = 2;
  rs.wave_closing = 1;
  at_second(130);
  EXPECT_EQ(rs.phase, 4);
  EXPECT_EQ(rs.wave_closing, 0);
  EXPECT_EQ(rs.score, 8000);
  EXPECT_EQ(take_messages(), (Texts{"Let's Begin!", "No hit! Super bonus! + 4000",
                                    "Warning!!! Weapons locked!", "No hit! Super bonus! + 4000"}));
  EXPECT_EQ(ball_kinds(), runs({{8, 1}, {8, 2}, {5, 3}, {4, 4}}));
}

TEST_F(PhaseScriptTest, APhaseBegunAtItsClosingSecondDrainsAtOnce) {
  RoundState& rs = round_state;
  rs.phase = 2;
  at_second(125);
  EXPECT_EQ(rs.phase, 3);
  EXPECT_EQ(rs.wave_closing, 1);
}

// The clock stands still while the abort dialog is open and then jumps, so a second can be
// skipped: no phase may wait for it for ever.
TEST_F(PhaseScriptTest, ASkippedSecondDoesNotLeaveAPhaseStuck) {
  RoundState& rs = round_state;
  at_second(1);
  at_second(3);
  EXPECT_EQ(rs.phase, 1);
  at_second(6);
  EXPECT_EQ(rs.phase, 2);
  at_second(29, 1);
  at_second(31, 1);
  EXPECT_EQ(rs.wave_closing, 1);

  SetUp();
  rs.phase = 7;
  at_second(462, 1);
  EXPECT_EQ(rs.wave_closing, 1);
}

TEST_F(PhaseScriptTest, EnergyAwardsRegenerateUpToTheMaximumOnly) {
  RoundState& rs = round_state;
  rs.phase = 4;
  rs.energy = 70.5f;
  at_second(201);
  ASSERT_EQ(rs.energy_regen_timer, 60);
  for (int i = 0; i < 29; ++i) regenerate_energy();
  EXPECT_EQ(rs.energy, 99.5f);
  for (int i = 0; i < 31; ++i) regenerate_energy();
  EXPECT_EQ(rs.energy, 100.0f);
  EXPECT_EQ(rs.energy_regen_timer, 0);
}

class ResetGameTest : public RoundTest {};

TEST_F(ResetGameTest, EveryGameStartsFromTheSameStateExceptWhatItMustKeep) {
  HeadlessPlatform backend;
  platform_install(&backend);
  RoundState& rs = round_state;
  rs = RoundState{};
  rs.score = 1234;
  rs.energy = 3.0f;
  rs.weapon = 3;
  rs.laser_ammo = rs.blasters_ammo = 9;
  rs.fire_cooldown = 5;
  rs.angle_deg = 200;
  rs.homing_timer = rs.sluggish_timer = rs.killer_line_timer = 40;
  rs.short_line_timer = rs.long_line_timer = rs.double_gun_timer = rs.no_hole_timer = 40;
  rs.powerup_kills = 7;
  rs.enemy_alive = rs.line_hit = 1;
  rs.energy_regen_timer = 12;
  rs.line_half_length = 5;
  rs.hole_half_width = 0;
  rs.phase = 8;
  rs.end_anim = 1206;
  rs.game_over = 1;
  rs.weapons_locked = 1;
  rs.ball_accuracy = 2;
  rs.background = 4;
  rs.bg_fading = 1;
  rs.glow_pulse_dir = 2;
  rs.round_seconds = 470;
  rs.wave_closing = 1;
  rs.ball_count = 28;
  rs.kamikaze_count = 8;
  rs.fade_alpha = 77;
  rs.glow_pulse = 90;
  rs.fps_sample_start = 12.5;
  for (int i = 1; i <= kBallSlots; ++i) balls[i].active = balls[i].tagged = 1;
  particles[kParticleSlots].life = 3;
  messages[5].active = 1;
  projectiles[90].active = 1;
  powerups[8].active = 1;
  explosions[20].life = 1;
  sparks[90].life = 1;
  laser_beams[30].life = 1;
  kamikazes[40].active = 1;

  reset_game();

  randomize(timer_seconds());
  EXPECT_EQ(rs.powerup_kills_needed, 20 + floor_int(rnd() * 4));
  EXPECT_EQ(rs.score, 0);
  EXPECT_EQ(rs.energy, 100.0f);
  EXPECT_EQ(rs.weapon, 1);
  EXPECT_EQ(rs.laser_ammo, 0);
  EXPECT_EQ(rs.blasters_ammo, 0);
  EXPECT_EQ(rs.fire_cooldown, 0);
  EXPECT_EQ(rs.angle_deg, 90);
  EXPECT_EQ(rs.line_half_length, 55);
  EXPECT_EQ(rs.hole_half_width, 20);
  for (std::int32_t timer : {rs.short_line_timer, rs.long_line_timer, rs.killer_line_timer,
                             rs.double_gun_timer, rs.no_hole_timer, rs.sluggish_timer, rs.homing_timer})
    EXPECT_EQ(timer, 0);
  for (std::int32_t field : {rs.phase, rs.end_anim, rs.game_over, rs.weapons_locked, rs.round_seconds,
                             rs.wave_closing, rs.bg_fading, rs.powerup_kills, rs.enemy_alive, rs.line_hit,
                             rs.energy_regen_timer})
    EXPECT_EQ(field, 0);
  EXPECT_EQ(rs.ball_accuracy, 1);
  EXPECT_EQ(rs.background, 3);
  EXPECT_EQ(rs.glow_pulse_dir, 1);
  EXPECT_EQ(rs.ball_count, 28);
  EXPECT_EQ(rs.kamikaze_count, 8);
  EXPECT_EQ(rs.fade_alpha, 77);
  EXPECT_EQ(rs.glow_pulse, 90);
  EXPECT_EQ(rs.fps_sample_start, 12.5);
  for (int i = 1; i <= kBallSlots; ++i) EXPECT_EQ(balls[i].active + balls[i].tagged, 0);
  EXPECT_EQ(particles[kParticleSlots].life + messages[5].active + projectiles[90].active, 0);
  EXPECT_EQ(powerups[8].active + explosions[20].life + sparks[90].life, 0);
  EXPECT_EQ(laser_beams[30].life + kamikazes[40].active, 0);
}

}  // namespace
