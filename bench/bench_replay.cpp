// What recording costs a frame: the recorder's own bookkeeping around a frame's seam calls, and
// the page digest (BM_PageDigest: one page; BM_PageChainPerFrame: per frame shown, on average).
#include <benchmark/benchmark.h>

#include <xxhash.h>

#include <filesystem>
#include <utility>

#include "gfx/gfx.h"
#include "replay/page_digest.h"
#if __has_include("replay/page_chain.h")
#include "replay/page_chain.h"
#endif
#include "replay/replay_recorder.h"
#include "state/round_state.h"
#include "state/tables.h"
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

// A frame's calls at the seam as the game makes them: three clock readings, a few key polls, a
// sleep.
void frame_seam_calls(ReplayRecorder& recorder) {
  benchmark::DoNotOptimize(recorder.now_seconds());
  for (int i = 0; i < 6; ++i) recorder.pump_events();
  benchmark::DoNotOptimize(recorder.now_seconds());
  recorder.sleep_ms(20);
  benchmark::DoNotOptimize(recorder.now_seconds());
}

// A frame without the page shown; present() adds the digest, so the two benchmarks together
// split the cost.
void BM_RecorderFrameWithoutPresent(benchmark::State& state) {
  QuietBackend backend;
  ReplayRecorder recorder(backend);
  const auto path = std::filesystem::temp_directory_path() / "torvane_bench.tvr";
  if (!recorder.start(path.string()).empty()) state.SkipWithError("cannot record");
  for (auto _ : state) {
    frame_seam_calls(recorder);
  }
  recorder.finish();
  std::filesystem::remove(path);
}
BENCHMARK(BM_RecorderFrameWithoutPresent);

// A whole frame recorded into memory, as a round played for the world table is: the seam calls above and the page
// shown (its digest one page in 41).
void BM_RoundRecordingFrame(benchmark::State& state) {
  static std::uint8_t buffer[512 * 1024];
  QuietBackend backend;
  ReplayRecorder recorder(backend);
  recorder.start_in_memory(buffer, sizeof buffer);
  for (auto _ : state) {
    frame_seam_calls(recorder);
    recorder.present(page());
    if (recorder.bytes_written() > sizeof buffer / 2) {
      state.PauseTiming();
      recorder.start_in_memory(buffer, sizeof buffer);
      state.ResumeTiming();
    }
  }
}
BENCHMARK(BM_RoundRecordingFrame);

void BM_PageDigest(benchmark::State& state) {
  std::uint64_t digest = 0;
  for (auto _ : state) benchmark::DoNotOptimize(digest = page_digest_chain(digest, page()));
  state.SetBytesProcessed(state.iterations() * 640 * 480 * 4);
}
BENCHMARK(BM_PageDigest);

// The alternative weighed against hashing pages: the game's own state (the round state and
// every slot table) hashed each frame.
void BM_StateDigestPerFrame(benchmark::State& state) {
  const std::pair<const void*, std::size_t> parts[] = {
      {&round_state, sizeof round_state}, {rotation_trail, sizeof rotation_trail}, {projectiles, sizeof projectiles},
      {laser_beams, sizeof laser_beams},   {particles, sizeof particles},           {sparks, sizeof sparks},
      {explosions, sizeof explosions},     {messages, sizeof messages},             {powerups, sizeof powerups},
      {balls, sizeof balls},               {kamikazes, sizeof kamikazes}};
  std::uint64_t digest = 0;
  std::size_t bytes = 0;
  for (auto _ : state) {
    bytes = 0;
    for (const auto& [at, size] : parts) {
      digest = XXH3_64bits_withSeed(at, size, digest);
      bytes += size;
    }
    benchmark::DoNotOptimize(digest);
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_StateDigestPerFrame);

#if __has_include("replay/page_chain.h")
// What checking a session's pages costs a frame on average: one page in 41 is hashed.
void BM_PageChainPerFrame(benchmark::State& state) {
  PageChain chain;
  for (auto _ : state) benchmark::DoNotOptimize(chain.shown(page()));
  benchmark::DoNotOptimize(chain.value());
}
BENCHMARK(BM_PageChainPerFrame);
#endif

}  // namespace
