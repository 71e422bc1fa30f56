#include "round/end_banner.h"

#include "frame/gfx.h"
#include "round/round_state.h"

namespace {
constexpr Colour kBannerColour = 0xC8BBF9FF;  // translucent: blended over the play field
}

void draw_end_banner() {
  RoundState& rs = round_state;
  if (rs.game_over == 1) {
    rs.end_anim += 6;
    if (rs.end_anim < 370) {
      gfx_draw_text(nullptr, static_cast<float>(rs.end_anim - 100), 210, "G A M E", kBannerColour);
      gfx_draw_text(nullptr, static_cast<float>(740 - rs.end_anim), 210, "O V E R", kBannerColour);
    } else {
      gfx_draw_text(nullptr, 270, 210, "G A M E", kBannerColour);
      gfx_draw_text(nullptr, 350, 210, "O V E R", kBannerColour);
    }
  }
  if (rs.phase == 8) {
    rs.end_anim += 5;
    if (rs.end_anim < 360) {
      gfx_draw_text(nullptr, static_cast<float>(rs.end_anim - 100), 210, "R O U N D", kBannerColour);
      gfx_draw_text(nullptr, static_cast<float>(740 - rs.end_anim), 210, "O V E R", kBannerColour);
    } else {
      gfx_draw_text(nullptr, 260, 210, "R O U N D", kBannerColour);
      gfx_draw_text(nullptr, 360, 210, "O V E R", kBannerColour);
    }
  }
}
