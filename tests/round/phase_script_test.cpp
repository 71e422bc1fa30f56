// The round's timetable, its waves, bonuses, awards and backgrounds, and the new-game reset.
#include "round/phase_script.h"

#include <cstring>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/random.h"
#include "base/rounding.h"
#include "round_test_support.h"

using namespace round_test;

namespace {

using Texts = std::vector<std::string>;

// The texts of the messages shown since the last look, in slot order; frees their slots.
Texts take_messages() {
  Texts texts;
  for (int i = 1; i <= kMessageSlots; ++i)
    if (std::exchange(messages[i].active, 0)) texts.emplace_back(messages[i].text, messages[i].text_length);
  return texts;
}
// The kinds of a table's slots 1..count, one digit each.
std::string kinds(const auto& table, int count) {
  std::string v;
  for (int i = 1; i <= count; ++i) v += static_cast<char>('0' + table[i].kind);
  return v;
}
void at_second(int s, int enemy_alive = 0) {
  round_state.round_seconds = s;
  round_state.enemy_alive = enemy_alive;
  run_phase_script();
}

using PhaseScriptTest = RoundTest;  // the reset leaves no message shown

// One call of the script; -1 and empty optionals are not looked at, the messages always are.
struct Step {
  int second, alive = 0, hit = 0;
  int phase = -1, closing = -1, score = -1, locked = -1, accuracy = -1, regen = -1, background = -1, previous = -1;
  Texts said = {};
  std::optional<std::string> balls = {}, kamikazes = {};
};

TEST_F(PhaseScriptTest, TheWholeTimetableInOrder) {
  const Step steps[] = {
      {.second = 1, .phase = 0},
      {.second = 2, .phase = 1, .said = {"Get Ready!"}},
      {.second = 4, .phase = 1},
      {.second = 5, .hit = 1, .phase = 2, .said = {"Warm-up!"}, .balls = "1111111122", .kamikazes = ""},
      // A wave never ends on the clock alone, and a cleared wave waits for its closing second.
      {.second = 29, .closing = 0},
      {.second = 30, .phase = 2, .closing = 1},
      {.second = 31, .alive = 1, .phase = 2},
      {.second = 31, .phase = 3, .closing = 0, .score = 4000,
       .said = {"Let's Begin!", "No hit! Super bonus! + 4000"}, .balls = "11111111122222233333"},
      // Struck during wave 2: no bonus for it.
      {.second = 125, .alive = 1, .hit = 1, .closing = 1},
      {.second = 126, .phase = 4, .score = 4000, .locked = 1, .background = 1, .previous = 3,
       .said = {"Warning!!! Weapons locked!"}, .balls = "1111111122222222333334444"},
      {.second = 200, .alive = 1},
      {.second = 201, .phase = 5, .score = 10000, .locked = 0, .accuracy = 2, .regen = 60, .background = 1,
       .said = {"Accurate balls attack!", "No hit! Super bonus! + 6000", "Energy Awarded! + 60"},
       .balls = "222233444444444"},
      {.second = 265, .alive = 1},
      {.second = 266, .phase = 6, .score = 15000, .accuracy = 1, .regen = 70, .background = 2, .previous = 1,
       .said = {"Here comes another tough wave!", "No hit! Super bonus! + 5000", "Energy Awarded! + 70"},
       .balls = "2222222222223333333444445555"},
      {.second = 380, .alive = 1},
      {.second = 381, .phase = 7, .score = 21000, .regen = 80, .background = 4, .previous = 2,
       .said = {"Kamikaze Attack!", "No hit! Super bonus! + 6000", "Energy Awarded! + 80"},
       .balls = "", .kamikazes = "11111222"},
      {.second = 460, .alive = 1, .closing = 1},
      {.second = 468, .phase = 7},
      {.second = 469, .phase = 8, .closing = 1, .score = 26000, .said = {"No hit! Super bonus! + 5000"}},
  };
  RoundState& rs = round_state;
  for (const Step& s : steps) {
    SCOPED_TRACE(testing::Message() << "second " << s.second << " alive " << s.alive);
    if (s.hit) rs.line_hit = 1;
    rs.kamikaze_count = 7;  // only waves 1 and 6 set it
    Ball kept[kBallSlots + 1];
    std::memcpy(kept, balls, sizeof balls);
    at_second(s.second, s.alive);
    for (auto [want, got] : {std::pair{s.phase, rs.phase}, {s.closing, rs.wave_closing}, {s.score, rs.score},
                             {s.locked, rs.weapons_locked}, {s.accuracy, rs.ball_accuracy},
                             {s.regen, rs.energy_regen_timer}, {s.background, rs.background},
                             {s.previous, rs.bg_previous}})
      if (want >= 0) { EXPECT_EQ(got, want); }
    if (s.previous >= 0) { EXPECT_EQ((std::array{rs.bg_fading, rs.bg_fade_alpha}), (std::array{1, 0})); }
    EXPECT_EQ(take_messages(), s.said);
    if (s.balls) { EXPECT_EQ(kinds(balls, rs.ball_count), *s.balls); }
    EXPECT_EQ(kinds(kamikazes, rs.kamikaze_count), s.kamikazes.value_or(kinds(kamikazes, 7)));
    for (int i = rs.ball_count + 1; i <= kBallSlots; ++i) EXPECT_EQ(std::memcmp(&kept[i], &balls[i], sizeof(Ball)), 0);
  }
}

// The clock stands still while the abort dialog is open and then jumps, so a second can be
// skipped: no phase may wait for it for ever.
TEST_F(PhaseScriptTest, ASkippedSecondDoesNotLeaveAPhaseStuck) {
  for (int s : {1, 3, 6, 29, 31}) at_second(s, 1);
  EXPECT_EQ((std::array{round_state.phase, round_state.wave_closing}), (std::array{2, 1}));
}

TEST_F(PhaseScriptTest, EveryGameStartsFromTheSameStateExceptWhatItMustKeep) {
  HeadlessPlatform backend;
  platform_install(&backend);
  RoundState& rs = round_state;
  std::memset(&rs, 0x11, sizeof rs);  // every field non-zero and unlike what the reset sets
  const RoundState before = rs;
  for (int i = 1; i <= kBallSlots; ++i) balls[i].active = balls[i].tagged = 1;
  particles[kParticleSlots].life = messages[5].active = projectiles[90].active = powerups[8].active = 1;
  explosions[20].life = sparks[90].life = laser_beams[30].life = kamikazes[40].active = 1;

  reset_game();

  randomize(timer_seconds());
  EXPECT_EQ(rs.powerup_kills_needed, 20 + floor_int(rnd() * 4));
  EXPECT_EQ(rs.energy, 100.0f);
  EXPECT_EQ((std::array{rs.weapon, rs.angle_deg, rs.line_half_length, rs.hole_half_width, rs.ball_accuracy,
                        rs.background, rs.glow_pulse_dir}),
            (std::array{1, 90, 55, 20, 1, 3, 1}));
  EXPECT_EQ((std::array{rs.score, rs.laser_ammo, rs.blasters_ammo, rs.fire_cooldown, rs.short_line_timer,
                        rs.long_line_timer, rs.killer_line_timer, rs.double_gun_timer, rs.no_hole_timer,
                        rs.sluggish_timer, rs.homing_timer, rs.phase, rs.end_anim, rs.game_over, rs.weapons_locked,
                        rs.round_seconds, rs.wave_closing, rs.bg_fading, rs.powerup_kills, rs.enemy_alive,
                        rs.line_hit, rs.energy_regen_timer}),
            (std::array<std::int32_t, 22>{}));
  // Left for the first wave and the screens around the round.
  EXPECT_EQ((std::array{rs.ball_count, rs.kamikaze_count, rs.fade_alpha, rs.glow_pulse}),
            (std::array{before.ball_count, before.kamikaze_count, before.fade_alpha, before.glow_pulse}));
  EXPECT_EQ(rs.fps_sample_start, before.fps_sample_start);
  for (int i = 1; i <= kBallSlots; ++i) EXPECT_EQ(balls[i].active + balls[i].tagged, 0);
  EXPECT_EQ(particles[kParticleSlots].life + messages[5].active + projectiles[90].active + powerups[8].active, 0);
  EXPECT_EQ(explosions[20].life + sparks[90].life + laser_beams[30].life + kamikazes[40].active, 0);
}

}  // namespace
