// Ball, powerup and laser-glow sprites.
#include "assets/sprites.h"

#include <cmath>

#include "assets/images.h"
#include "base/rounding.h"
#include "gfx/gfx.h"

namespace {

constexpr float kCentre = 40.0f;

struct BallLook {
  int sprite;
  Colour outer, middle, inner, highlight;
  int dots;
  float dot_x[3], dot_y[3];
};

constexpr BallLook kBallLooks[] = {
    {1, 0xFF0014D0, 0xFF0119FF, 0xFF4F60FF, 0xFF8792FF, 1, {43}, {43}},
    {2, 0xFF009673, 0xFF00BC92, 0xFF00E4B1, 0xFF0BFFC8, 1, {43}, {43}},
    {3, 0xFFB00000, 0xFFDA0000, 0xFFF00000, 0xFFFF7878, 1, {42}, {41}},
    {4, 0xFFBAC600, 0xFFDEEC00, 0xFFF1FF13, 0xFFF8FF8D, 1, {41}, {41}},
    {5, 0xFF4E4E4E, 0xFF636363, 0xFF636363, 0xFF757575, 3, {37, 41, 38}, {42, 37, 41}},
    {7, 0xFFA10098, 0xFFD402CA, 0xFFF520F2, 0xFFFF87F8, 1, {43}, {43}},
};

constexpr const char* kPowerupLetters[10] = {"", "D", "S", "K", "B", "H", "L", "L", "N", "S"};

void draw_rings(Colour outer, Colour middle, Colour inner) {
  gfx_circle(nullptr, kCentre, kCentre, 7, outer);
  gfx_circle(nullptr, kCentre, kCentre, 5, middle);
  gfx_circle(nullptr, kCentre, kCentre, 3, inner);
}

// The 17x17 square about (40, 40), so the sprite's centre lands on its (8, 8).
void capture_sprite(Image* sprite) { gfx_get(nullptr, 32, 32, 48, 48, sprite); }

}  // namespace

void clear_sprite_ground() { gfx_line(nullptr, 0, 0, 80, 80, kMaskColour, kLineFilledBox); }

void draw_ball_sprites() {
  for (const BallLook& look : kBallLooks) {
    draw_rings(look.outer, look.middle, look.inner);
    for (int i = 0; i < look.dots; ++i) gfx_circle(nullptr, look.dot_x[i], look.dot_y[i], 1, look.highlight);
    capture_sprite(ball_sprites[look.sprite]);
  }
}

void draw_powerup_sprites() {
  for (int k = 1; k <= 9; ++k) {
    if (k <= 6) {
      draw_rings(0xFF007696, 0xFF00B0D6, 0xFF01D6FF);
      gfx_draw_text(nullptr, 37, 37, kPowerupLetters[k], 0xFFFFFFFF);
    } else {
      draw_rings(0xFF800000, 0xFFBD0000, 0xFFD20000);
      gfx_draw_text(nullptr, 37, 37, kPowerupLetters[k], 0xFFFFBBBB);
    }
    capture_sprite(powerup_sprites[k]);
  }
}

void draw_laser_glow_sprite() {
  gfx_cls();
  draw_glow(40, 40, 5);
  capture_sprite(ball_sprites[10]);
  gfx_cls();
}

void draw_glow(int x, int y, int radius) {
  const float r = static_cast<float>(radius);
  for (int row = 0; row <= 2 * radius; ++row) {
    for (int col = 0; col <= 2 * radius; ++col) {
      const int squares = (radius - col) * (radius - col) + (radius - row) * (radius - row);
      const float d = std::sqrt(static_cast<float>(squares)) / r;
      float t = (1.0f - d) * (1.0f - d);
      if (d > 1.0f) t = 0.0f;
      const Colour c = 0xFF000000u + static_cast<Colour>(round_even(255.0f * t)) * 0x10000u +
                       static_cast<Colour>(round_even(128.0f * t)) * 0x100u +
                       static_cast<Colour>(round_even(255.0f * t));
      gfx_pset(nullptr, static_cast<float>(x + col), static_cast<float>(y + row), c);
    }
  }
}
