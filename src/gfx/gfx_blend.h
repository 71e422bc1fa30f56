#pragma once
// Colour arithmetic shared by the blits and the primitives.
//
// Both blend rules have the form d + floor((s - d) * w / 256) per byte. Because d * 256 is a
// multiple of 256 this equals (d * (256 - w) + s * w) >> 8, which never goes negative and lets
// red/blue and alpha/green be weighed two at a time in one 32-bit word without carries.
#include <cstdint>

#include "gfx/gfx.h"

inline Colour lerp_colour(Colour d, Colour s, std::uint32_t w) {
  const std::uint32_t iw = 256 - w;
  const std::uint32_t rb = (((d & 0x00FF00FFu) * iw + (s & 0x00FF00FFu) * w) >> 8) & 0x00FF00FFu;
  const std::uint32_t ag = ((((d >> 8) & 0x00FF00FFu) * iw + ((s >> 8) & 0x00FF00FFu) * w)) & 0xFF00FF00u;
  return rb | ag;
}

inline bool is_mask(Colour c) { return (c & 0x00FFFFFFu) == 0x00FF00FFu; }

// A primitive colour c with alpha a weighs by a; its own top byte is a, so the alpha of the
// result follows the same lerp.
inline Colour blend_primitive(Colour d, Colour c) {
  const std::uint32_t a = c >> 24;
  if (a == 255) return c;
  return lerp_colour(d, c, a);
}

inline std::uint32_t add_saturate_byte(std::uint32_t d, std::uint32_t s, std::uint32_t alpha) {
  const std::uint32_t v = d + ((s * alpha) >> 8);
  return v > 255 ? 255 : v;
}

inline Colour additive_colour(Colour d, Colour s, std::uint32_t alpha) {
  return add_saturate_byte(d >> 24, s >> 24, alpha) << 24 |
         add_saturate_byte((d >> 16) & 0xFF, (s >> 16) & 0xFF, alpha) << 16 |
         add_saturate_byte((d >> 8) & 0xFF, (s >> 8) & 0xFF, alpha) << 8 |
         add_saturate_byte(d & 0xFF, s & 0xFF, alpha);
}
