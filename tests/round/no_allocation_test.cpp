// Nothing may touch the heap while a round runs: every operator new of this test program is
// counted while the flag is up.
#include <cstdlib>
#include <new>

#include "round/run_round.h"
#include "round_test_support.h"

namespace {
bool counting = false;
long allocations = 0;

void* counted_alloc(std::size_t size) noexcept {
  allocations += counting;
  return std::malloc(size ? size : 1);
}
}  // namespace

// Every form, so that a sanitizer sees matching pairs.
void* operator new(std::size_t size) {
  if (void* p = counted_alloc(size)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return counted_alloc(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return counted_alloc(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

using namespace round_test;

namespace {

using NoAllocationTest = RoundTest;

TEST_F(NoAllocationTest, AFewHundredFramesOfPlayNeverAllocate) {
  // The real weapons and sound hooks, not the test's recorders.
  round_spawn_projectile = spawn_projectile;
  round_play_sound = audio_play_sound;
  HeadlessPlatform backend;
  platform_install(&backend);
  round_state.fps_sample_start = timer_seconds();
  round_state.laser_ammo = round_state.blasters_ammo = 40;
  backend.set_script({down_at(0, kKeySpace), down_at(1000, kKeyLeft), down_at(1500, kKey2), up_at(1600, kKey2),
                      up_at(3000, kKeyLeft), down_at(3500, kKey3), up_at(3600, kKey3), down_at(6000, kKeyF),
                      up_at(6100, kKeyF), down_at(7000, kKeyEscape), up_at(7100, kKeyEscape), down_at(8000, kKeyN)});
  backend.set_stop_at_ms(10000);
  allocations = 0;
  counting = true;
  EXPECT_THROW(run_round(), ProgramExit);
  counting = false;
  EXPECT_EQ(allocations, 0);
  // The round really ran: past the first wave's start, with the frame rate shown.
  EXPECT_EQ((std::array{round_state.phase, round_state.show_fps}), (std::array{2, 1}));
  EXPECT_GT(backend.frames_shown(), 300);
}

}  // namespace
