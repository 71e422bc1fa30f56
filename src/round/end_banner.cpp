// The "GAME OVER" / "ROUND OVER" banner sliding in.
#include "round/end_banner.h"

#include <string_view>

#include "gfx/gfx.h"
#include "state/round_state.h"

namespace {

constexpr Colour kBannerColour = 0xC8BBF9FF;  // translucent: blended over the play field

// The word and "O V E R" slide in from either side and stand still once end_anim reaches stop.
void slide_in(int step, int stop, std::string_view word, float word_x, float over_x) {
  RoundState& rs = round_state;
  rs.end_anim += step;
  if (rs.end_anim < stop) {
    word_x = static_cast<float>(rs.end_anim - 100);
    over_x = static_cast<float>(740 - rs.end_anim);
  }
  gfx_draw_text(nullptr, word_x, 210, word, kBannerColour);
  gfx_draw_text(nullptr, over_x, 210, "O V E R", kBannerColour);
}

}  // namespace

void draw_end_banner() {
  if (round_state.game_over == 1) slide_in(6, 370, "G A M E", 270, 350);
  if (round_state.phase == 8) slide_in(5, 360, "R O U N D", 260, 360);
}
