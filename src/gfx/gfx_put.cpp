// gfx_put: whole-image blits in the four put modes the game uses.
#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "gfx/gfx_internal.h"

namespace {

// Each row loop is kept branch-light so the compiler can vectorise it; every mode computes
// exactly the integer formula of its rule, so vector and scalar results are identical.
void row_transparent(Colour* dst, const Colour* src, int n) {
  for (int i = 0; i < n; ++i) {
    const Colour s = src[i];
    dst[i] = is_mask(s) ? dst[i] : (s & 0x00FFFFFFu);
  }
}

void row_copy(Colour* dst, const Colour* src, int n) {
  std::memcpy(dst, src, static_cast<std::size_t>(n) * sizeof(Colour));
}

#if defined(__SSE2__)
// Lanes of four pixels; each lane computes the same integer formula as the scalar tail.
inline __m128i mask_lanes(__m128i s) {
  const __m128i rgb = _mm_and_si128(s, _mm_set1_epi32(0x00FFFFFF));
  return _mm_cmpeq_epi32(rgb, _mm_set1_epi32(0x00FF00FF));
}

inline __m128i select_lanes(__m128i mask, __m128i if_mask, __m128i otherwise) {
  return _mm_or_si128(_mm_and_si128(mask, if_mask), _mm_andnot_si128(mask, otherwise));
}

// (d * (256 - w) + s * w) >> 8 per byte, in 16-bit lanes (the sum never exceeds 65280).
inline __m128i lerp_bytes(__m128i d, __m128i s, __m128i w, __m128i iw) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i lo = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(d, zero), iw),
                                                   _mm_mullo_epi16(_mm_unpacklo_epi8(s, zero), w)), 8);
  const __m128i hi = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(d, zero), iw),
                                                   _mm_mullo_epi16(_mm_unpackhi_epi8(s, zero), w)), 8);
  return _mm_packus_epi16(lo, hi);
}

// min(255, d + floor(s * alpha / 256)) per byte.
inline __m128i add_scaled_bytes(__m128i d, __m128i s, __m128i alpha) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i lo = _mm_srli_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(s, zero), alpha), 8);
  const __m128i hi = _mm_srli_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(s, zero), alpha), 8);
  return _mm_adds_epu8(d, _mm_packus_epi16(lo, hi));
}
#endif

void row_additive(Colour* dst, const Colour* src, int n, std::uint32_t alpha) {
  int i = 0;
#if defined(__SSE2__)
  const __m128i a = _mm_set1_epi16(static_cast<short>(alpha));
  for (; i + 4 <= n; i += 4) {
    const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
    const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i));
    const __m128i out = select_lanes(mask_lanes(s), d, add_scaled_bytes(d, s, a));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), out);
  }
#endif
  for (; i < n; ++i) {
    const Colour s = src[i];
    dst[i] = is_mask(s) ? dst[i] : additive_colour(dst[i], s, alpha);
  }
}

void row_blend(Colour* dst, const Colour* src, int n, std::uint32_t weight) {
  int i = 0;
#if defined(__SSE2__)
  const __m128i w = _mm_set1_epi16(static_cast<short>(weight));
  const __m128i iw = _mm_set1_epi16(static_cast<short>(256 - weight));
  for (; i + 4 <= n; i += 4) {
    const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
    const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i));
    const __m128i out = select_lanes(mask_lanes(s), d, lerp_bytes(d, s, w, iw));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), out);
  }
#endif
  for (; i < n; ++i) {
    const Colour s = src[i];
    dst[i] = is_mask(s) ? dst[i] : lerp_colour(dst[i], s, weight);
  }
}

}  // namespace

int gfx_put(Image* target, float x, float y, const Image* image, int mode, int alpha) {
  Image* dst = gfx_resolve_target(target);
  if (!dst || !image) return 1;
  const int px = round_coord(x), py = round_coord(y);
  const int x0 = std::max(0, px), y0 = std::max(0, py);
  const int x1 = std::min(dst->width, px + image->width);
  const int y1 = std::min(dst->height, py + image->height);
  if (x0 >= x1 || y0 >= y1) return 0;
  const int n = x1 - x0;
  const std::uint32_t a = static_cast<std::uint32_t>(alpha) & 0xFFu;
  // Mode 9 with alpha 0 is not blended at all: it draws like mode 0.
  if (mode == kPutBlend && a == 0) mode = kPutTransparent;
  for (int yy = y0; yy < y1; ++yy) {
    Colour* d = dst->row(yy) + x0;
    const Colour* s = image->row(yy - py) + (x0 - px);
    switch (mode) {
      case kPutTransparent: row_transparent(d, s, n); break;
      case kPutCopy: row_copy(d, s, n); break;
      case kPutAdditive: row_additive(d, s, n, a); break;
      case kPutBlend: row_blend(d, s, n, a + 1); break;
      default: return 1;
    }
  }
  return 0;
}
