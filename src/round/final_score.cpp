// The final-score screen that counts up the bonuses.
#include "round/final_score.h"

#include "audio/audio.h"
#include "base/text_buf.h"
#include "display/fades.h"
#include "display/frame_pacing.h"
#include "gfx/gfx.h"
#include "line/round_calls.h"
#include "round/hud.h"
#include "state/round_state.h"
#include "system/input.h"

std::int32_t score_frame = 0;
std::int32_t completion_percent = 0;
std::int32_t energy_bonus_count = 0;

namespace {

// 100/470: an unfinished round is measured against 470 seconds.
constexpr double kCompletionPerSecond = 0.2127659574468085;
constexpr Colour kTitleColour = 0xFFAFAFFF;
constexpr Colour kLineColour = 0xFF9191FF;

// One completion point; the tally skips ahead to frame 141 as soon as the count is done.
void count_completion_point(double target, int phase) {
  RoundState& rs = round_state;
  completion_percent += 1;
  round_play_sound(snd_tally);
  const bool done = phase < 8 ? completion_percent >= target : completion_percent == 100;
  if (done && score_frame < 140) score_frame = 141;
  rs.score += 30;
}

// Every count has reached its end and the closing frame has passed: only then may ENTER leave.
// A long lost round counts completion past frame 230.
bool tally_complete(double target) {
  const RoundState& rs = round_state;
  if (score_frame <= 230.0 + static_cast<double>(rs.energy)) return false;
  if (rs.phase == 8) return completion_percent >= 100 && energy_bonus_count >= rs.energy;
  return completion_percent >= target;
}

// This frame's counting: the score grows here, before anything shows it.
void count_tally_frame(double target) {
  RoundState& rs = round_state;
  if (score_frame > 30) {
    if (rs.phase < 8 && completion_percent < target) count_completion_point(target, rs.phase);
    if (rs.phase == 8 && completion_percent < 100) count_completion_point(target, rs.phase);
  }
  // The bonus belongs to a finished round: a lost one can count to 100 too, and earns none.
  if (score_frame == 161 && rs.phase == 8 && completion_percent == 100) rs.score += 4000;
  if (score_frame > 210 && rs.phase == 8 && energy_bonus_count < rs.energy) {
    energy_bonus_count += 1;
    round_play_sound(snd_tally);
    rs.score += 20;
  }
  // A fractional energy never equals a frame number, so then no closing sound plays.
  if (score_frame == 230.0 + static_cast<double>(rs.energy)) round_play_sound(snd_tally_done);
}

void draw_tally_frame(double target) {
  RoundState& rs = round_state;
  step_glow_pulse();
  draw_pulsing_background(rs.background);
  count_tally_frame(target);
  if (score_frame > 5) gfx_draw_text(nullptr, 240, 50, "Final Score Calculation", kTitleColour);
  if (score_frame > 30) {
    TextBuf<64> line;
    line << "Completion bonus: + " << completion_percent << "% * " << "30";
    gfx_draw_text(nullptr, 210, 100, line, kLineColour);
  }
  if (score_frame > 160) {
    if (rs.phase == 8 && completion_percent == 100)
      gfx_draw_text(nullptr, 210, 120, "Round Finished Bonus: + 4000", kLineColour);
    else
      gfx_draw_text(nullptr, 210, 120, "Round Finished Bonus: None", kLineColour);
  }
  if (score_frame > 210) {
    if (rs.phase == 8) {
      TextBuf<64> line;
      line << "Remaining Energy Bonus: " << energy_bonus_count << " * " << "20";
      gfx_draw_text(nullptr, 210, 140, line, kLineColour);
    }
    if (rs.phase < 8) gfx_draw_text(nullptr, 210, 140, "Remaining Energy Bonus: None", kLineColour);
  }
  if (score_frame > 30) {
    TextBuf<64> line;
    line << "SCORE: " << pad_score(rs.score) << rs.score;
    gfx_draw_text(nullptr, 210, 180, line, kLineColour);
  }
  if (tally_complete(target)) gfx_draw_text(nullptr, 240, 250, "Press ENTER to continue", kLineColour);
}

}  // namespace

void show_final_score() {
  RoundState& rs = round_state;
  fade_out();
  score_frame = 0;
  completion_percent = 0;
  energy_bonus_count = 0;
  const double target = rs.round_seconds * kCompletionPerSecond;
  for (;;) {
    score_frame += 1;
    begin_frame();
    draw_tally_frame(target);
    fade_in();
    end_frame();
    pace_frame();
    if (key_down(kKeyEnter) && tally_complete(target)) break;
    // The window is closing: the rest of the count at once, unseen, so the score is whole.
    if (close_requested()) {
      while (!tally_complete(target)) {
        score_frame += 1;
        count_tally_frame(target);
      }
      return;
    }
  }
  fade_out();
}
