// The images made at start-up.
#include "assets/images.h"

Image* background_images[5]{};
Image* snapshot_image = nullptr;
Image* powerup_sprites[11]{};
Image* ball_sprites[11]{};

void create_images() {
  // A game started again in the same process (a playback's jump back) makes them afresh.
  destroy_images();
  for (int i = 1; i <= 4; ++i) background_images[i] = gfx_image_create(640, 480);
  snapshot_image = gfx_image_create(640, 480);
  for (int i = 1; i <= 10; ++i) {
    powerup_sprites[i] = gfx_image_create(18, 18);
    ball_sprites[i] = gfx_image_create(18, 18);
  }
}

void destroy_images() {
  gfx_image_destroy(snapshot_image);
  snapshot_image = nullptr;
  for (int i = 1; i <= 4; ++i) {
    gfx_image_destroy(background_images[i]);
    background_images[i] = nullptr;
  }
  for (int i = 1; i <= 10; ++i) {
    gfx_image_destroy(powerup_sprites[i]);
    gfx_image_destroy(ball_sprites[i]);
    powerup_sprites[i] = ball_sprites[i] = nullptr;
  }
}
