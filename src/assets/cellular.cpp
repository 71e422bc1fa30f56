// The two cellular backgrounds, coloured by distance to scattered points.
#include "assets/cellular.h"

#include <cmath>

#include "assets/fast_round.h"
#include "assets/images.h"
#include "base/random.h"
#include "gfx/gfx.h"
#include "gfx/gfx_blend.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

float first_xs[kFirstPointCount], first_ys[kFirstPointCount];
float second_xs[kSecondPointCount], second_ys[kSecondPointCount];
float distance_map[480][640];

namespace {

constexpr int kMaxPoints = kFirstPointCount;
constexpr float kFarAway = 1e16f;

void scatter_points(double seed, int count, float* xs, float* ys) {
  randomize(seed);
  for (int i = 0; i < count; ++i) {
    xs[i] = static_cast<float>(rnd() * 640);
    ys[i] = static_cast<float>(rnd() * 480);
  }
}

// Fills distance_map and widens [min_d, max_d] by what it finds.
void measure_distances(const float* xs, const float* ys, int count, float& min_d, float& max_d) {
  for (int y = 0; y <= 479; ++y) {
    float* row = distance_map[y];
    nearest_point_distance_row(static_cast<float>(y), xs, ys, count, row);
    for (int x = 0; x <= 639; ++x) {
      const float d = row[x];
      if (d < min_d) min_d = d;
      if (d > max_d) max_d = d;
    }
  }
}

// t runs over 0..1 in both: background 2's pass widens the range it inherits. The products
// stay in single precision like t; taken in double, one pixel of background 1 (339, 0), whose
// 205t lies a hair above 124.5, would round the other way.
Colour first_colour(float t) {
  const Colour r = static_cast<Colour>(round_even_fast(205.0f * t));
  const Colour g = static_cast<Colour>(round_even_fast(155.0f * t));
  return 0x73000000u + r * 0x10000u + g * 0x100u + (205u - g);
}

Colour second_colour(float t) {
  const Colour a = static_cast<Colour>(round_even_fast(205.0f * t));
  const Colour g = static_cast<Colour>(round_even_fast(105.0f * t));
  return 0x55000000u + (255u - a) * 0x10000u + g * 0x100u + a;
}

// Every pixel of the page is blended once, with the layer's own arithmetic, as gfx_pset would.
template <Colour (*colour_of)(float)>
void paint_distances(float min_d, float max_d) {
  if (!gfx_screen_open()) return;
  Image& page = *gfx_page(gfx_work_page_index());
  for (int y = 0; y <= 479; ++y) {
    Colour* row = page.row(y);
    for (int x = 0; x <= 639; ++x) {
      const float t = (distance_map[y][x] - min_d) / (max_d - min_d);
      row[x] = blend_primitive(row[x], colour_of(t));
    }
  }
}

void capture_and_clear(int element) {
  gfx_get(nullptr, 0, 0, 639, 479, background_images[element]);
  gfx_line(nullptr, 0, 0, 639, 479, 0xFF000000u, kLineFilledBox);
}

}  // namespace

float nearest_point_distance(float x, float y, const float* xs, const float* ys, int count) {
  float best = kFarAway;
  for (int i = 0; i < count; ++i) {
    const float dx = xs[i] - x, dy = ys[i] - y;
    const float dx2 = dx * dx, dy2 = dy * dy;
    const float d = std::sqrt(dx2 + dy2);
    if (d < best) best = d;
  }
  return best;
}

// The square root is correctly rounded and so never decreasing: the root of the smallest sum
// of squares is the smallest root, and one root per pixel gives the same value as one per
// point. The pixels go four to a lane group; each lane does the same single-precision
// subtract, multiply and add as the scalar code, in the same order.
void nearest_point_distance_row(float y, const float* xs, const float* ys, int count, float* out) {
  float dy2[kMaxPoints];
  for (int i = 0; i < count; ++i) {
    const float dy = ys[i] - y;
    dy2[i] = dy * dy;
  }
#if defined(__SSE2__)
  constexpr int kBlock = 16;
  const __m128 far_away = _mm_set1_ps(kFarAway);
  for (int x0 = 0; x0 < 640; x0 += kBlock) {
    const float fx = static_cast<float>(x0);
    const __m128 px0 = _mm_setr_ps(fx, fx + 1, fx + 2, fx + 3);
    const __m128 px1 = _mm_add_ps(px0, _mm_set1_ps(4)), px2 = _mm_add_ps(px0, _mm_set1_ps(8)),
                 px3 = _mm_add_ps(px0, _mm_set1_ps(12));
    __m128 best0 = far_away, best1 = far_away, best2 = far_away, best3 = far_away;
    for (int i = 0; i < count; ++i) {
      const __m128 qx = _mm_set1_ps(xs[i]), qy2 = _mm_set1_ps(dy2[i]);
      __m128 d0 = _mm_sub_ps(qx, px0), d1 = _mm_sub_ps(qx, px1), d2 = _mm_sub_ps(qx, px2),
             d3 = _mm_sub_ps(qx, px3);
      d0 = _mm_add_ps(_mm_mul_ps(d0, d0), qy2);
      d1 = _mm_add_ps(_mm_mul_ps(d1, d1), qy2);
      d2 = _mm_add_ps(_mm_mul_ps(d2, d2), qy2);
      d3 = _mm_add_ps(_mm_mul_ps(d3, d3), qy2);
      best0 = _mm_min_ps(d0, best0);
      best1 = _mm_min_ps(d1, best1);
      best2 = _mm_min_ps(d2, best2);
      best3 = _mm_min_ps(d3, best3);
    }
    _mm_storeu_ps(out + x0, _mm_sqrt_ps(best0));
    _mm_storeu_ps(out + x0 + 4, _mm_sqrt_ps(best1));
    _mm_storeu_ps(out + x0 + 8, _mm_sqrt_ps(best2));
    _mm_storeu_ps(out + x0 + 12, _mm_sqrt_ps(best3));
  }
#else
  for (int x = 0; x < 640; ++x) {
    const float fx = static_cast<float>(x);
    float best = kFarAway;
    for (int i = 0; i < count; ++i) {
      const float dx = xs[i] - fx;
      const float s = dx * dx + dy2[i];
      if (s < best) best = s;
    }
    out[x] = std::sqrt(best);
  }
#endif
}

void draw_cellular_backgrounds() {
  scatter_points(12345, 108, first_xs, first_ys);
  float min_d = 1e16f, max_d = 0.0f;
  measure_distances(first_xs, first_ys, kFirstPointCount, min_d, max_d);
  paint_distances<first_colour>(min_d, max_d);
  capture_and_clear(1);

  // The range is not reset: background 2 is scaled by background 1's extremes.
  scatter_points(2345, 38, second_xs, second_ys);
  measure_distances(second_xs, second_ys, kSecondPointCount, min_d, max_d);
  paint_distances<second_colour>(min_d, max_d);
  capture_and_clear(2);
}
