// What recording costs a frame: the recorder's own bookkeeping around a frame's seam calls, and
// the page digest every shown page adds to it.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "gfx/gfx.h"
#include "replay/page_digest.h"
#include "replay/replay_recorder.h"
#include "system/i_platform.h"
#include "system/input.h"

namespace {

// A backend that only moves a clock and, now and then, a key.
class QuietBackend final : public Platform {
 public:
  bool open_display(bool) override { return true; }
  void present(const Image&) override {}
  void pump_events() override {
    if (++pumps % 64 == 0) input_key_event(kKeyLeft, (pumps / 64) % 2 == 1);
  }
  double now_seconds() override { return 1000.0 + (clock_us += 8000) * 1e-6; }
  void sleep_ms(int) override {}
  void set_mouse(int, int, int, int) override {}
  long pumps = 0;
  long clock_us = 0;
};

Image& page() {
  static Image image = [] {
    Image im;
    im.width = im.stride = 640;
    im.height = 480;
    im.pixels.assign(640 * 480, 0xFF203040u);
    return im;
  }();
  return image;
}

// A frame as the game makes it: three clock readings, a few key polls, a sleep; present() adds
// the digest, so the two benchmarks together split the cost.
void BM_RecorderFrameWithoutPresent(benchmark::State& state) {
  QuietBackend backend;
  ReplayRecorder recorder(backend);
  const auto path = std::filesystem::temp_directory_path() / "torvane_bench.tvr";
  if (!recorder.start(path.string()).empty()) state.SkipWithError("cannot record");
  for (auto _ : state) {
    benchmark::DoNotOptimize(recorder.now_seconds());
    for (int i = 0; i < 6; ++i) recorder.pump_events();
    benchmark::DoNotOptimize(recorder.now_seconds());
    recorder.sleep_ms(20);
    benchmark::DoNotOptimize(recorder.now_seconds());
  }
  recorder.finish();
  std::filesystem::remove(path);
}
BENCHMARK(BM_RecorderFrameWithoutPresent);

void BM_PageDigest(benchmark::State& state) {
  std::uint64_t digest = 0;
  for (auto _ : state) benchmark::DoNotOptimize(digest = page_digest_chain(digest, page()));
  state.SetBytesProcessed(state.iterations() * 640 * 480 * 4);
}
BENCHMARK(BM_PageDigest);

}  // namespace
