#pragma once
// The row loops every blit and span runs through, in two kinds: vector code (16-byte lanes
// through the compiler's vector types: SSE2, NEON or WebAssembly SIMD, whichever is built for)
// and the plain per-pixel loop it must match bit for bit, kept beside it as the reference the
// tests hold it to.
#include <cstdint>

#include "gfx/gfx.h"

// Put mode 0: non-mask pixels with their top byte cleared.
void row_transparent(Colour* dst, const Colour* src, int n);
void row_transparent_reference(Colour* dst, const Colour* src, int n);

// Put mode 7 with alpha 0..255, done times (>= 1) times over.
void row_additive(Colour* dst, const Colour* src, int n, std::uint32_t alpha, int times = 1);
void row_additive_reference(Colour* dst, const Colour* src, int n, std::uint32_t alpha);
// The same in two steps: what mode 7 done times (>= 1) times adds to each byte,
// min(255, times * floor(s * alpha / 256)), or 0 under the mask colour; then those bytes added,
// saturating.
void row_additive_summands(Colour* out, const Colour* src, int n, std::uint32_t alpha, int times);
void row_add_saturate(Colour* dst, const Colour* add, int n);

// Put mode 9 with weight alpha + 1 (1..256).
void row_blend(Colour* dst, const Colour* src, int n, std::uint32_t weight);
// The same at 16-byte width only, whatever the CPU (row_blend uses 32 bytes with AVX2).
void row_blend_narrow(Colour* dst, const Colour* src, int n, std::uint32_t weight);
void row_blend_reference(Colour* dst, const Colour* src, int n, std::uint32_t weight);
// Mode 9 with weight 1..255 from a source that holds no mask colour.
void row_blend_unmasked(Colour* dst, const Colour* src, int n, std::uint32_t weight);
// Mode 9 from first, then from second, weights 1..255, in one pass, for sources that hold no
// mask colour (the reference is the two blends, and takes any source).
void row_blend_pair(Colour* dst, const Colour* first, const Colour* second, int n, std::uint32_t first_weight,
                    std::uint32_t second_weight);
// The same at 16-byte width only, whatever the CPU.
void row_blend_pair_narrow(Colour* dst, const Colour* first, const Colour* second, int n, std::uint32_t first_weight,
                           std::uint32_t second_weight);
void row_blend_pair_reference(Colour* dst, const Colour* first, const Colour* second, int n,
                              std::uint32_t first_weight, std::uint32_t second_weight);
