// How a ball's life ends: killed (points, burst, powerup count) or striking the line.
#include "audio/audio.h"
#include "base/text_buf.h"
#include "effects/messages.h"
#include "effects/particles.h"
#include "enemies/balls.h"
#include "enemies/line_strike.h"
#include "powerups/powerups.h"
#include "sensing/sensing.h"
#include "state/round_state.h"
#include "state/tables.h"

void pay_tagged_bonus(int kind) {
  const int points = kind * 200 + 1000;
  audio_play_sound(snd_tag_bonus);
  TextBuf<48> text;
  text << "Tagged Ball Bonus! + " << points << " Pts";
  show_message(text);
  round_state.score += points;
}

namespace {

// A tagged ball pays only its bonus; any other pays its kind's points.
void pay_for_kill(const Ball& b) {
  if (b.tagged == 1) pay_tagged_bonus(b.kind);
  else round_state.score += b.kind * 15 + 50;
}

}  // namespace

void destroy_ball(int slot) {
  Ball& b = balls[slot];
  const float x = b.x, y = b.y;
  count_powerup_kill(x, y);
  pay_for_kill(b);
  spawn_explosion(1, x, y);
  spawn_spark_burst(x, y, b.kind);
  for (int e = 2; e <= 5; ++e) spawn_explosion(e, x, y);
  spawn_ball(slot, 1);
}

void ball_strikes_line(int slot) {
  RoundState& rs = round_state;
  Ball& b = balls[slot];
  const int k = b.kind;
  const float x = b.x, y = b.y;
  if (rs.killer_line_timer == 0) {
    // The two heaviest kinds hit no harder than 3.3.
    charge_line_strike(k, k == 4 ? 0.7 : k == 5 ? 1.7 : 0.0);
  } else {
    pay_for_kill(b);
    count_powerup_kill(x, y);
  }
  if (rs.score < 0) rs.score = 0;
  spawn_spark_burst(x, y, k);
  for (int e = 1; e <= 5; ++e) spawn_explosion(e, x, y);
  spawn_ball(slot, 1);
}
