// The round's background and its cross-fade.
#include "round/background.h"

#include "assets/images.h"
#include "gfx/gfx.h"
#include "state/round_state.h"

void draw_background() {
  RoundState& rs = round_state;
  if (rs.bg_fading == 0) {
    gfx_put(nullptr, 0, 0, background_images[rs.background], kPutCopy);
    return;
  }
  rs.bg_fade_alpha += 4;
  if (rs.bg_fade_alpha > 255) rs.bg_fade_alpha = 255;
  if (rs.bg_fade_alpha == 255) rs.bg_fading = 0;
  gfx_put_blend_pair(nullptr, background_images[rs.bg_previous], 255 - rs.bg_fade_alpha, background_images[rs.background],
                     rs.bg_fade_alpha);
}
