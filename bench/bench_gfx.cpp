// Full-screen blits and a frame's worth of primitives: the per-frame drawing cost. (A whole
// copy in mode 1 onto a page that nothing was drawn on since the last one costs next to
// nothing: see BM_RoundFrameDrawing for the copy in a frame.)
#include <benchmark/benchmark.h>

#include "gfx/gfx.h"

namespace {

Image* full_screen_image() {
  static Image* image = [] {
    gfx_open_screen(640, 480, 32, 2, kGfxAlphaPrimitives, 0);
    Image* im = gfx_image_create(640, 480);
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 640; ++x)
        im->row(y)[x] = 0xFF000000u | static_cast<Colour>(x * 2654435761u ^ y * 40503u);
    return im;
  }();
  return image;
}

void BM_PutFullScreen(benchmark::State& state) {
  Image* image = full_screen_image();
  const int mode = static_cast<int>(state.range(0));
  const int alpha = static_cast<int>(state.range(1));
  for (auto _ : state) {
    gfx_put(nullptr, 0, 0, image, mode, alpha);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * 640 * 480);
}
BENCHMARK(BM_PutFullScreen)->Args({kPutCopy, 0})->Args({kPutTransparent, 0})->Args({kPutAdditive, 132})->Args({kPutBlend, 127});

// A frame of the round's background cross-fade: both backgrounds blended whole, in one call and,
// for the ratio, as the two puts it replaces.
Image* second_full_screen_image() {
  static Image* image = [] {
    Image* im = gfx_image_create(640, 480);
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 640; ++x) im->row(y)[x] = 0xFF000000u | static_cast<Colour>(x * 40503u + y * 2654435761u);
    return im;
  }();
  return image;
}

void BM_CrossFade(benchmark::State& state) {
  Image* from = full_screen_image();
  Image* to = second_full_screen_image();
  for (auto _ : state) {
    if (state.range(0)) {
      gfx_put_blend_pair(nullptr, from, 131, to, 124);
    } else {
      gfx_put(nullptr, 0, 0, from, kPutBlend, 131);
      gfx_put(nullptr, 0, 0, to, kPutBlend, 124);
    }
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * 640 * 480);
}
BENCHMARK(BM_CrossFade)->ArgName("one_pass")->Arg(1)->Arg(0);

// Roughly what a busy round frame draws besides the background.
void BM_FramePrimitives(benchmark::State& state) {
  full_screen_image();
  for (auto _ : state) {
    for (int i = 0; i < 300; ++i) gfx_circle(nullptr, 20.0f + i * 2, 100.0f + (i % 50), 3.0f + (i % 5), 0x80F58C05);
    for (int i = 0; i < 20; ++i) gfx_circle(nullptr, 300.0f, 200.0f + i, 15.5f, 0x9100A8C6);
    for (int i = 0; i < 40; ++i) gfx_line(nullptr, 100, 100.0f + i, 300, 150.0f + i, 0xFFE7E7E7);
    for (int i = 0; i < 1000; ++i) benchmark::DoNotOptimize(gfx_point(nullptr, static_cast<float>(i % 640), static_cast<float>(i % 480)));
    gfx_draw_text(nullptr, 13, 466, "Score:004000  Laser:500  Blasters:25", 0xFF0275BE);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_FramePrimitives);

// A rotation trail's worth of plain lines: 90 translucent spokes about the pivot.
void BM_TrailLines(benchmark::State& state) {
  full_screen_image();
  for (auto _ : state) {
    for (int i = 0; i < 90; ++i) {
      const float dx = static_cast<float>((i * 37) % 200 - 100), dy = static_cast<float>((i * 53) % 200 - 100);
      gfx_line(nullptr, 320 - dx, 220 - dy, 320 + dx, 220 + dy, 0x30E7E7E7u);
    }
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_TrailLines);

// The heads-up display's energy bar at full energy: one translucent box blended 100 times.
void BM_EnergyBar(benchmark::State& state) {
  full_screen_image();
  for (auto _ : state) {
    gfx_put(nullptr, 0, 0, full_screen_image(), kPutCopy);
    for (int i = 0; i < 100; ++i) gfx_line(nullptr, 430, 7, 630, 10, 0xBE55FE02u, kLineFilledBox);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_EnergyBar);

// Translucent boxes of every width from 1 to 64 pixels, as discs and boxes give the spans.
void BM_TranslucentSpans(benchmark::State& state) {
  full_screen_image();
  for (auto _ : state) {
    for (int w = 1; w <= 64; ++w) gfx_line(nullptr, 10.0f * (w % 50), 7.0f * w, 10.0f * (w % 50) + w - 1, 7.0f * w + 3, 0x80F58C05u, kLineFilledBox);
    gfx_pset(nullptr, 0, 0, 0xFF000000u);  // another box drawn between frames
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * 4 * 64 * 65 / 2);
}
BENCHMARK(BM_TranslucentSpans);

// A busy round frame's drawing: the background put back, particles, shots, the trail and
// the line, the energy bar at full energy and the score.
void BM_RoundFrameDrawing(benchmark::State& state) {
  Image* background = full_screen_image();
  int frame = 0;
  for (auto _ : state) {
    gfx_set_pages(frame & 1, (frame & 1) ^ 1);
    ++frame;
    gfx_put(nullptr, 0, 0, background, kPutCopy);
    for (int i = 0; i < 200; ++i)
      gfx_circle(nullptr, 20.0f + (i * 97 + frame) % 600, 40.0f + (i * 61) % 400, 1.0f + (i % 5), 0x80F58C05);
    for (int i = 0; i < 20; ++i) gfx_circle(nullptr, 300.0f + i * 7, 200.0f + i, 4.0f, 0x9100A8C6);
    for (int i = 0; i < 90; ++i) {
      const float dx = static_cast<float>((i * 37 + frame) % 200 - 100), dy = static_cast<float>((i * 53) % 200 - 100);
      gfx_line(nullptr, 320 - dx, 220 - dy, 320 + dx, 220 + dy, 0x30E7E7E7u);
    }
    for (int i = 0; i < 6; ++i) gfx_line(nullptr, 200, 150.0f + i, 440, 290.0f + i, 0xFFE7E7E7);
    for (int i = 0; i < 100; ++i) gfx_line(nullptr, 430, 7, 630, 10, 0xBE55FE02u, kLineFilledBox);
    gfx_draw_text(nullptr, 13, 466, "Score:004000  Laser:500  Blasters:25", 0xFF0275BE);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_RoundFrameDrawing);

// A laser beam's glow: an 18-pixel sprite put additively at every point from the line's end to
// 350 pixels out, along a diagonal.
void BM_LaserGlow(benchmark::State& state) {
  full_screen_image();
  static Image* glow = [] {
    Image* im = gfx_image_create(18, 18);
    for (int y = 0; y < 18; ++y)
      for (int x = 0; x < 18; ++x)
        im->row(y)[x] = (x - 9) * (x - 9) + (y - 9) * (y - 9) <= 64 ? 0xFFFFF0FFu - static_cast<Colour>(x * 0x0A0A) : kMaskColour;
    return im;
  }();
  for (auto _ : state) {
    for (int r = 60; r <= 350; ++r) gfx_put(nullptr, 307.0f + r * 0.6f, 207.0f + r * 0.8f, glow, kPutAdditive, 132);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_LaserGlow);

void BM_FloodFillKamikaze(benchmark::State& state) {
  full_screen_image();
  for (auto _ : state) {
    for (int k = 0; k < 8; ++k) {
      const float x = 60.0f + k * 60;
      gfx_line(nullptr, x - 10, 300, x, 272, 0xFFAB00AB);
      gfx_line(nullptr, x + 10, 300, x, 272, 0xFFAB00AB);
      gfx_line(nullptr, x - 10, 300, x + 10, 300, 0xFFAB00AB);
      gfx_paint(nullptr, x, 290, 0xFFF000F0, 0xFFAB00AB);
    }
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_FloodFillKamikaze);

}  // namespace
