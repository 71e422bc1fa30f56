// Start-up asset generation: the whole of generate_assets and its two heavy parts.
#include <benchmark/benchmark.h>

#include "app/startup.h"
#include "assets/cellular.h"
#include "assets/fractal.h"
#include "assets/generate_assets.h"
#include "assets/images.h"
#include "gfx/gfx.h"

namespace {

void open_display_with_images() {
  if (gfx_screen_open() && background_images[1]) return;
  open_display_and_create_images();
}

void BM_GenerateAssets(benchmark::State& state) {
  open_display_with_images();
  for (auto _ : state) generate_assets();
  state.SetLabel("all sprites and four backgrounds");
}
BENCHMARK(BM_GenerateAssets)->Unit(benchmark::kMillisecond);

void BM_CellularBackgrounds(benchmark::State& state) {
  open_display_with_images();
  for (auto _ : state) draw_cellular_backgrounds();
}
BENCHMARK(BM_CellularBackgrounds)->Unit(benchmark::kMillisecond);

void BM_FractalBackgrounds(benchmark::State& state) {
  open_display_with_images();
  for (auto _ : state) draw_fractal_backgrounds();
}
BENCHMARK(BM_FractalBackgrounds)->Unit(benchmark::kMillisecond);

void BM_DistanceRow(benchmark::State& state) {
  open_display_with_images();
  generate_assets();  // the real point sets
  float row[640];
  for (auto _ : state) {
    for (int y = 0; y < 480; ++y) {
      nearest_point_distance_row(static_cast<float>(y), first_xs, first_ys, kFirstPointCount, row);
      benchmark::DoNotOptimize(row);
    }
  }
  state.SetLabel("one background's 307,200 pixels against 121 points");
}
BENCHMARK(BM_DistanceRow)->Unit(benchmark::kMillisecond);

}  // namespace
