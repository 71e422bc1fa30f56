// The instructions page.
#include "screens/instructions.h"

#include "assets/images.h"
#include "display/fades.h"
#include "display/frame_pacing.h"
#include "gfx/gfx.h"
#include "system/input.h"

namespace {

constexpr Colour kTextBlue = 0xFF9191FF;

struct PageText {
  float x, y;
  const char* text;
};

// Leading spaces are part of the layout: they indent continuation lines under their heading.
constexpr PageText kPage[] = {
    {240, 12, "I N S T R U C T I O N S"},
    {20, 42, "            is a single-screen shooter. You control the line in the center"},
    {20, 52, "of the screen with a goal to destroy as many balls possible and avoid "},
    {20, 62, "collision with them. The game is consisted of several phases, each "},
    {20, 72, "featuring different numbers of balls, their accuracy, or some special "},
    {20, 82, "characteristic. It is up to you to discover those in the 8 minutes round "},
    {20, 92, "that each game lasts. Collision counts for negative points and loss of life"},
    {20, 102, "energy. Yes, you can die in the game."},
    {20, 122, "CONTROLS: LEFT/RIGHT arrow key to rotate"},
    {20, 132, "          SPACE, 8 (NUM) or X to shoot"},
    {20, 142, "          1, 2, 3 to change weapon"},
    {20, 162, "WEAPONS: Cannon - basic weapon with infinite ammo"},
    {20, 172, "         Laser - devastating weapon, but depletes its ammo fast"},
    {20, 182, "         Blasters - power balls that explode in the vicinity of a"},
    {20, 192, "                    moving object and destroy everything near itself"},
    {20, 218, "After a certain amount of kills a powerup is spawned."},
    {20, 228, "This is the effect of each powerup (they last for a limited amount of time):"},
    {20, 429, "For small bonus let a ball through the hole in the middle of the line"},
    {20, 439, "to tag it, and then destroy it for super bonus."},
};

// Powerup kinds 1..9 in order, so icon i is the icon of kind i.
constexpr const char* kPowerupTexts[10] = {
    "",
    "double gun",
    "short line",
    "killer line (invincibility and you get points for collision)",
    "blasters ammo",
    "cannon and blasters' projectiles become homing",
    "laser ammo",
    "long line",
    "no hole",
    "slow line",
};

}  // namespace

void draw_instructions_page() {
  for (const PageText& t : kPage) {
    // The game's name goes in first, in its own colour, into the gap the next line leaves.
    if (t.y == 42) gfx_draw_text(nullptr, 20, 42, "Torvane", 0xFFC3C3FF);
    gfx_draw_text(nullptr, t.x, t.y, t.text, kTextBlue);
  }
  for (int i = 1; i <= 9; ++i) {
    gfx_put(nullptr, 26, static_cast<float>(220 + 20 * i), powerup_sprites[i], kPutTransparent);
    gfx_draw_text(nullptr, 50, static_cast<float>(224 + 20 * i), kPowerupTexts[i], kTextBlue);
  }
  gfx_draw_text(nullptr, 200, 468, "Press ENTER to return to main menu", 0xD79191FF);
}

void show_instructions() {
  fade_out();
  do {
    begin_frame();
    draw_pulsing_background();
    step_glow_pulse();
    draw_instructions_page();
    fade_in();
    end_frame();
    pace_frame();
  } while (!key_down(kKeyEnter));
  fade_out();
}
