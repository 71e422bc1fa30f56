#pragma once
// The two cellular backgrounds: every pixel coloured by its distance to the nearest of a set
// of random points.
#include <cstddef>

constexpr int kFirstPointCount = 121;   // entries 0..120; background 1 writes 0..107
constexpr int kSecondPointCount = 41;   // entries 0..40; background 2 writes 0..37

extern float first_xs[kFirstPointCount], first_ys[kFirstPointCount];
extern float second_xs[kSecondPointCount], second_ys[kSecondPointCount];
// The distance of every pixel of the background being made, [y][x].
extern float distance_map[480][640];

// The smallest distance from (x, y) to any of the count points, in single precision: each
// square rounded to single, their sum rounded to single, then its square root.
float nearest_point_distance(float x, float y, const float* xs, const float* ys, int count);

template <std::size_t N>
float nearest_point_distance(float x, float y, const float (&xs)[N], const float (&ys)[N]) {
  return nearest_point_distance(x, y, xs, ys, static_cast<int>(N));
}

// nearest_point_distance for the 640 pixels of row y, bit for bit, into out[0..639].
void nearest_point_distance_row(float y, const float* xs, const float* ys, int count, float* out);

// Backgrounds 1 and 2, each drawn on the (black) work page, captured and cleared to black.
void draw_cellular_backgrounds();
