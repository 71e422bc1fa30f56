#pragma once
// Ball, powerup and laser-glow sprites, drawn on the work page about (40, 40) and captured
// as 17x17 pictures centred on (8, 8).

// Fills (0, 0)-(80, 80) with the mask colour, which becomes the sprites' transparent ground.
void clear_sprite_ground();
// Ball sprites 1..5 and the tagged ball 7.
void draw_ball_sprites();
// Powerup icons 1..9 with their letters.
void draw_powerup_sprites();
// The laser glow, ball sprite 10; leaves the work page cleared to black.
void draw_laser_glow_sprite();

// A (2 * radius + 1)-pixel square of opaque glow with its top-left pixel at (x, y): magenta
// fading as (1 - d)^2 with the distance d from the centre in radii, black outside the radius.
void draw_glow(int x, int y, int radius);
