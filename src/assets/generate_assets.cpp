// Drawing every sprite and background once, at start-up.
#include "assets/generate_assets.h"

#include "assets/cellular.h"
#include "assets/fractal.h"
#include "assets/sprites.h"
#include "gfx/gfx.h"
#include "gfx/page_flip.h"

namespace {

// The page just drawn becomes the visible one and drawing moves to the other.
void switch_pages() {
  work_page ^= 1;
  gfx_set_pages(work_page, work_page ^ 1);
}

}  // namespace

void generate_assets() {
  gfx_lock();
  gfx_set_pages(work_page, work_page ^ 1);
  clear_sprite_ground();
  draw_ball_sprites();
  draw_powerup_sprites();
  draw_laser_glow_sprite();
  // Unlocked, each switch shows its page at once.
  gfx_unlock(-1, -1);

  switch_pages();
  gfx_draw_text(nullptr, 200, 220, "Please Wait - Generating Backgrounds", 0xFFC05100);
  switch_pages();

  // The backgrounds are drawn on the hidden page, which the glow left black.
  gfx_lock();
  draw_cellular_backgrounds();
  draw_fractal_backgrounds();
  gfx_unlock(-1, -1);
}
