// torvane-headless: the game on a virtual clock, driven by a script of keys or the autoplayer.
#include <cstdlib>
#include <new>

#include "headless/autoplay.h"
#include "headless/runner.h"
#include "system/file_size_signal.h"
#include "system/input.h"

// Counts heap allocations while a round runs (the round must make none). Only this executable
// replaces operator new; the library and the tests keep the standard one.
namespace {
const bool counting_installed = (alloc_counting_mark_available(), true);
}

// Every form is replaced, so that whatever one allocates the matching delete frees.
namespace {
void* counted_alloc(std::size_t size) noexcept {
  alloc_count_add();
  return std::malloc(size ? size : 1);
}
}  // namespace

void* operator new(std::size_t size) {
  if (void* p = counted_alloc(size)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
  if (void* p = counted_alloc(size)) return p;
  throw std::bad_alloc();
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return counted_alloc(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return counted_alloc(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

int main(int argc, char** argv) {
  (void)counting_installed;
  ignore_file_size_signal();
  catch_close_signals();
  return run_headless(argc, argv);
}
