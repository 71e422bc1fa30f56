#pragma once
// A fresh black page and empty effect tables for the effects tests.
#include <algorithm>
#include <iterator>

#include "frame/gfx.h"
#include "round/round_state.h"
#include "round/tables.h"

namespace effects_test {

inline void fresh_page() {
  gfx_open_screen(640, 480, 32, 2, 64, 0);
  gfx_set_pages(0, 1);
  Image* page = gfx_page(0);
  std::fill(page->pixels.begin(), page->pixels.end(), 0xFF000000u);
}

inline void clear_effects() {
  round_state = RoundState{};
  std::fill(std::begin(particles), std::end(particles), Particle{});
  std::fill(std::begin(sparks), std::end(sparks), Spark{});
  std::fill(std::begin(explosions), std::end(explosions), Explosion{});
  std::fill(std::begin(messages), std::end(messages), FloatingMessage{});
}

inline int count_non_black() {
  const Image* page = gfx_page(0);
  return static_cast<int>(page->pixels.size()) -
         static_cast<int>(std::count(page->pixels.begin(), page->pixels.end(), 0xFF000000u));
}

// The colour a translucent primitive leaves on black.
inline Colour on_black(std::uint32_t alpha, Colour rgb) {
  return gfx_blend_primitive(0xFF000000u, alpha << 24 | rgb);
}

}  // namespace effects_test
