// Row loops of the blits and spans: four pixels at a time, with the per-pixel reference.
#include "gfx/pixel_rows.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#endif

#include "gfx/colour_rows.h"
#include "gfx/gfx_blend.h"

namespace {

// Four pixels seen as 32-bit words, as 16-bit halves (blue|green, red|alpha) or as bytes.
// Each byte's product with a weight out of 256 fits a 16-bit half, so a half holds one byte's
// arithmetic without touching its neighbour.
typedef std::uint32_t Pixels __attribute__((vector_size(16)));
typedef std::uint16_t Halves __attribute__((vector_size(16)));
typedef std::uint8_t Bytes __attribute__((vector_size(16)));
constexpr int kLanes = 4;

inline Pixels load(const Colour* p) {
  Pixels v;
  std::memcpy(&v, p, sizeof v);
  return v;
}
inline void store(Colour* p, Pixels v) { std::memcpy(p, &v, sizeof v); }

// All ones in the lanes whose pixel is the mask colour.
inline Pixels mask_lanes(Pixels s) { return (Pixels)((s & 0x00FFFFFFu) == 0x00FF00FFu); }

// min(255, a + b) per byte: SSE2 has it as one instruction, elsewhere a byte that wrapped is
// below what it started from.
inline Bytes add_saturate(Bytes a, Bytes b) {
#if defined(__SSE2__)
  return (Bytes)_mm_adds_epu8((__m128i)a, (__m128i)b);
#else
  const Bytes sum = a + b;
  return sum | (Bytes)(sum < a);
#endif
}

inline Pixels select(Pixels mask, Pixels if_mask, Pixels otherwise) { return (mask & if_mask) | (~mask & otherwise); }

// Runs step (source lane, destination lane -> new destination lane) over a row of at least one
// lane. A length that is no whole number of lanes ends with a lane over the last four pixels,
// worked out from their values before the row was touched: the pixels it shares with the lane
// before come out the same either way, and a sprite's odd last pixels skip the per-pixel loop.
template <typename Step>
[[gnu::always_inline]] inline void whole_lanes(Colour* dst, const Colour* src, int n, Step step) {
  const int last = n - kLanes;
  const Pixels end = step(load(src + last), load(dst + last));
  for (int i = 0; i < last; i += kLanes) store(dst + i, step(load(src + i), load(dst + i)));
  store(dst + last, end);
}

}  // namespace

bool row_blend_colour_reference(Colour* row, int n, Colour c) {
  Colour changed = 0;
  for (int i = 0; i < n; ++i) {
    const Colour out = blend_primitive(row[i], c);
    changed |= out ^ row[i];
    row[i] = out;
  }
  return changed != 0;
}

void row_transparent(Colour* dst, const Colour* src, int n) {
  if (n < kLanes) {
    row_transparent_reference(dst, src, n);
    return;
  }
  whole_lanes(dst, src, n, [](Pixels s, Pixels d) { return select(mask_lanes(s), d, s & 0x00FFFFFFu); });
}

void row_transparent_reference(Colour* dst, const Colour* src, int n) {
  for (int i = 0; i < n; ++i) {
    const Colour s = src[i];
    dst[i] = is_mask(s) ? dst[i] : (s & 0x00FFFFFFu);
  }
}

void row_additive(Colour* dst, const Colour* src, int n, std::uint32_t alpha, int times) {
  if (n < kLanes) {
    for (int k = 0; k < times; ++k) row_additive_reference(dst, src, n, alpha);
    return;
  }
  const Halves a = Halves{} + static_cast<std::uint16_t>(alpha & 0xFF);
  // floor(s * alpha / 256) per byte, put back in its byte.
  auto scaled = [a](Pixels s) {
    const Halves sh = (Halves)s;
    return (Bytes)((((sh & 0xFF) * a) >> 8) | (((sh >> 8) * a) & 0xFF00));
  };
  if (times == 1) {
    whole_lanes(dst, src, n, [scaled](Pixels s, Pixels d) {
      return select(mask_lanes(s), d, (Pixels)add_saturate((Bytes)d, scaled(s)));
    });
    return;
  }
  whole_lanes(dst, src, n, [scaled, times](Pixels s, Pixels d) {
    const Bytes add = scaled(s);
    Bytes sum = (Bytes)d;
    for (int k = 0; k < times; ++k) sum = add_saturate(sum, add);
    return select(mask_lanes(s), d, (Pixels)sum);
  });
}

void row_additive_summands(Colour* out, const Colour* src, int n, std::uint32_t alpha, int times) {
  for (int i = 0; i < n; ++i) {
    out[i] = 0;
    if (is_mask(src[i])) continue;
    const Colour once = additive_colour(0, src[i], alpha);
    for (int k = 0; k < times; ++k) out[i] = additive_colour(out[i], once, 256);
  }
}

void row_add_saturate(Colour* dst, const Colour* add, int n) {
  if (n < kLanes) {
    for (int i = 0; i < n; ++i) dst[i] = additive_colour(dst[i], add[i], 256);
    return;
  }
  whole_lanes(dst, add, n, [](Pixels a, Pixels d) { return (Pixels)add_saturate((Bytes)d, (Bytes)a); });
}

void row_additive_reference(Colour* dst, const Colour* src, int n, std::uint32_t alpha) {
  for (int i = 0; i < n; ++i) {
    const Colour s = src[i];
    dst[i] = is_mask(s) ? dst[i] : additive_colour(dst[i], s, alpha);
  }
}

namespace {

// Put mode 9's loop at any vector width: 16 bytes everywhere, 32 where the CPU has AVX2 (the
// background cross-fade blends two whole pages a frame, the round's costliest frames). The
// same integer steps at either width, so the same pixels. Returns how many it did.
template <int kBytes>
struct Wide {
  typedef std::uint32_t Pixels __attribute__((vector_size(kBytes)));
  typedef std::uint16_t Halves __attribute__((vector_size(kBytes)));
};

template <int kBytes>
[[gnu::always_inline]] inline int blend_lanes(Colour* dst, const Colour* src, int n, std::uint32_t weight) {
  using P = typename Wide<kBytes>::Pixels;
  using H = typename Wide<kBytes>::Halves;
  constexpr int kWidth = kBytes / 4;
  const H w = H{} + static_cast<std::uint16_t>(weight), iw = 256 - w;
  int i = 0;
  for (; i + kWidth <= n; i += kWidth) {
    P s, d;
    std::memcpy(&s, src + i, sizeof s);
    std::memcpy(&d, dst + i, sizeof d);
    const P mask = (P)((s & 0x00FFFFFFu) == 0x00FF00FFu);
    const H sh = (H)s, dh = (H)d;
    const P out = (P)((((dh & 0xFF) * iw + (sh & 0xFF) * w) >> 8) | (((dh >> 8) * iw + (sh >> 8) * w) & 0xFF00));
    const P kept = (mask & d) | (~mask & out);
    std::memcpy(dst + i, &kept, sizeof kept);
  }
  return i;
}

// Two mode-9 blends in one pass: the first blend's bytes stay in their halves for the second.
// The same integer steps as blend_lanes twice, so the same pixels (no mask colour taken).
template <int kBytes>
[[gnu::always_inline]] inline int blend_pair_lanes(Colour* dst, const Colour* first, const Colour* second, int n,
                                                   std::uint32_t first_weight, std::uint32_t second_weight) {
  using P = typename Wide<kBytes>::Pixels;
  using H = typename Wide<kBytes>::Halves;
  constexpr int kWidth = kBytes / 4;
  const H w1 = H{} + static_cast<std::uint16_t>(first_weight), iw1 = 256 - w1;
  const H w2 = H{} + static_cast<std::uint16_t>(second_weight), iw2 = 256 - w2;
  int i = 0;
  for (; i + kWidth <= n; i += kWidth) {
    P a, b, d;
    std::memcpy(&a, first + i, sizeof a);
    std::memcpy(&b, second + i, sizeof b);
    std::memcpy(&d, dst + i, sizeof d);
    const H ah = (H)a, bh = (H)b, dh = (H)d;
    const H low = ((dh & 0xFF) * iw1 + (ah & 0xFF) * w1) >> 8, high = ((dh >> 8) * iw1 + (ah >> 8) * w1) >> 8;
    const P out = (P)(((low * iw2 + (bh & 0xFF) * w2) >> 8) | ((high * iw2 + (bh >> 8) * w2) & 0xFF00));
    std::memcpy(dst + i, &out, sizeof out);
  }
  return i;
}

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
// The pair with one multiply-add per two bytes (pmaddubsw), for weights up to 255: with the
// bytes taken as signed (x ^ 0x80), (256 - w) * (d - 128) + w * (s - 128) is the blend's sum
// less 32768, which fits 16 signed bits; shifted down it is the blended byte less 128, which
// is the flipped byte the second blend takes.
[[gnu::target("avx2")]] inline __m256i load_flipped(const Colour* p) {
  return _mm256_xor_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)), _mm256_set1_epi8(-128));
}

[[gnu::target("avx2")]] inline void store_unflipped(Colour* p, __m256i v) {
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), _mm256_xor_si256(v, _mm256_set1_epi8(-128)));
}

// 256 - w and w in every pair of bytes, as blend_flipped takes them.
[[gnu::target("avx2")]] inline __m256i weight_pairs(std::uint32_t w) {
  return _mm256_set1_epi16(static_cast<short>((256 - w) | w << 8));
}

// Both operands flipped, the blend flipped; k from weight_pairs.
[[gnu::target("avx2")]] inline __m256i blend_flipped(__m256i d, __m256i s, __m256i k) {
  const __m256i low = _mm256_srai_epi16(_mm256_maddubs_epi16(k, _mm256_unpacklo_epi8(d, s)), 8);
  const __m256i high = _mm256_srai_epi16(_mm256_maddubs_epi16(k, _mm256_unpackhi_epi8(d, s)), 8);
  return _mm256_packs_epi16(low, high);
}

[[gnu::target("avx2")]] int blend_unmasked_avx2(Colour* dst, const Colour* src, int n, std::uint32_t weight) {
  const __m256i k = weight_pairs(weight);
  int i = 0;
  for (; i + 8 <= n; i += 8) store_unflipped(dst + i, blend_flipped(load_flipped(dst + i), load_flipped(src + i), k));
  return i;
}

[[gnu::target("avx2")]] int blend_pair_avx2(Colour* dst, const Colour* first, const Colour* second, int n,
                                            std::uint32_t first_weight, std::uint32_t second_weight) {
  const __m256i k1 = weight_pairs(first_weight), k2 = weight_pairs(second_weight);
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    const __m256i once = blend_flipped(load_flipped(dst + i), load_flipped(first + i), k1);
    store_unflipped(dst + i, blend_flipped(once, load_flipped(second + i), k2));
  }
  return i;
}

[[gnu::target("avx2")]] int blend_lanes_avx2(Colour* dst, const Colour* src, int n, std::uint32_t weight) {
  return blend_lanes<32>(dst, src, n, weight);
}

bool cpu_has_avx2() {
  static const bool has = __builtin_cpu_supports("avx2");
  return has;
}
#endif

}  // namespace

void row_blend(Colour* dst, const Colour* src, int n, std::uint32_t weight) {
  int i = 0;
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
  if (cpu_has_avx2()) i = blend_lanes_avx2(dst, src, n, weight);
#endif
  i += blend_lanes<16>(dst + i, src + i, n - i, weight);
  row_blend_reference(dst + i, src + i, n - i, weight);
}

void row_blend_narrow(Colour* dst, const Colour* src, int n, std::uint32_t weight) {
  const int i = blend_lanes<16>(dst, src, n, weight);
  row_blend_reference(dst + i, src + i, n - i, weight);
}

void row_blend_reference(Colour* dst, const Colour* src, int n, std::uint32_t weight) {
  for (int i = 0; i < n; ++i) {
    const Colour s = src[i];
    dst[i] = is_mask(s) ? dst[i] : lerp_colour(dst[i], s, weight);
  }
}

void row_blend_unmasked(Colour* dst, const Colour* src, int n, std::uint32_t weight) {
  int i = 0;
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
  if (cpu_has_avx2()) i = blend_unmasked_avx2(dst, src, n, weight);
#endif
  row_blend(dst + i, src + i, n - i, weight);
}

void row_blend_pair(Colour* dst, const Colour* first, const Colour* second, int n, std::uint32_t first_weight,
                    std::uint32_t second_weight) {
  int i = 0;
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
  if (cpu_has_avx2()) i = blend_pair_avx2(dst, first, second, n, first_weight, second_weight);
#endif
  i += blend_pair_lanes<16>(dst + i, first + i, second + i, n - i, first_weight, second_weight);
  row_blend_pair_reference(dst + i, first + i, second + i, n - i, first_weight, second_weight);
}

void row_blend_pair_narrow(Colour* dst, const Colour* first, const Colour* second, int n, std::uint32_t first_weight,
                           std::uint32_t second_weight) {
  const int i = blend_pair_lanes<16>(dst, first, second, n, first_weight, second_weight);
  row_blend_pair_reference(dst + i, first + i, second + i, n - i, first_weight, second_weight);
}

void row_blend_pair_reference(Colour* dst, const Colour* first, const Colour* second, int n,
                              std::uint32_t first_weight, std::uint32_t second_weight) {
  row_blend_reference(dst, first, n, first_weight);
  row_blend_reference(dst, second, n, second_weight);
}
