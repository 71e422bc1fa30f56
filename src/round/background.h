#pragma once
// The round's background picture, cross-faded when the waves change it.
void draw_background();
