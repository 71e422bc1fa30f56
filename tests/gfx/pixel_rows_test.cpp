// The vector row loops against their per-pixel references, and the references against the
// blend rules written out byte by byte: any lane, tail or carry slip shows as a wrong pixel.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "gfx/colour_rows.h"
#include "gfx/pixel_rows.h"

namespace {

// The rules one byte at a time, with the signed difference the rules are stated in.
std::uint32_t lerp_byte(std::int32_t d, std::int32_t s, std::int32_t w) {
  const std::int32_t diff = (s - d) * w;
  const std::int32_t step = diff >= 0 ? diff / 256 : -((-diff + 255) / 256);  // floor
  return static_cast<std::uint32_t>(d + step);
}
Colour per_byte(Colour d, Colour s, std::uint32_t w, bool additive) {
  Colour out = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const std::int32_t db = (d >> shift) & 0xFF, sb = (s >> shift) & 0xFF;
    std::uint32_t v = additive ? static_cast<std::uint32_t>(db) + ((sb * w) >> 8) : lerp_byte(db, sb, static_cast<std::int32_t>(w));
    if (v > 255) v = 255;
    out |= v << shift;
  }
  return out;
}
bool mask(Colour c) { return (c & 0x00FFFFFFu) == 0x00FF00FFu; }

struct Rows {
  std::vector<Colour> dst, src;
};

// Random pixels with a fair share of mask colours (any top byte), extremes and near-misses.
Rows random_rows(std::mt19937& gen, int n) {
  Rows r{std::vector<Colour>(n), std::vector<Colour>(n)};
  for (int i = 0; i < n; ++i) {
    r.dst[i] = gen();
    switch (gen() % 6) {
      case 0: r.src[i] = (gen() & 0xFF000000u) | 0x00FF00FFu; break;
      case 1: r.src[i] = (gen() & 0xFF000000u) | 0x00FF00FEu; break;
      case 2: r.src[i] = gen() % 2 ? 0xFFFFFFFFu : 0u; break;
      default: r.src[i] = gen(); break;
    }
  }
  return r;
}

// Every length from 0 to 41 (whole lanes and every tail) at every start within a lane.
template <typename Check>
void for_rows(Check check) {
  std::mt19937 gen(29);
  for (int n = 0; n <= 41; ++n)
    for (int offset = 0; offset < 4; ++offset) {
      Rows r = random_rows(gen, n + offset);
      check(r, offset, n, gen);
    }
}

TEST(PixelRows, ReferencesFollowTheRulesByteByByte) {
  std::mt19937 gen(7);
  for (int k = 0; k < 20000; ++k) {
    Rows r = random_rows(gen, 1);
    const std::uint32_t alpha = gen() & 0xFF;
    Colour out = r.dst[0];
    row_blend_reference(&out, r.src.data(), 1, alpha + 1);
    ASSERT_EQ(out, mask(r.src[0]) ? r.dst[0] : per_byte(r.dst[0], r.src[0], alpha + 1, false));
    out = r.dst[0];
    row_additive_reference(&out, r.src.data(), 1, alpha);
    ASSERT_EQ(out, mask(r.src[0]) ? r.dst[0] : per_byte(r.dst[0], r.src[0], alpha, true));
    out = r.dst[0];
    row_transparent_reference(&out, r.src.data(), 1);
    ASSERT_EQ(out, mask(r.src[0]) ? r.dst[0] : r.src[0] & 0x00FFFFFFu);
    // A primitive colour weighs by its own top byte, and an opaque one replaces the pixel.
    const Colour c = r.src[0];
    out = r.dst[0];
    row_blend_colour_reference(&out, 1, c);
    ASSERT_EQ(out, (c >> 24) == 255 ? c : per_byte(r.dst[0], c, c >> 24, false));
  }
}

TEST(PixelRows, BlendColourMatchesReferenceForEveryAlpha) {
  for_rows([](Rows& r, int offset, int n, std::mt19937& gen) {
    for (std::uint32_t a = 0; a < 256; ++a) {
      const Colour c = (a << 24) | (gen() & 0x00FFFFFFu);
      std::vector<Colour> want = r.dst, got = r.dst;
      const bool want_changed = row_blend_colour_reference(want.data() + offset, n, c);
      const bool got_changed = ColourRows(c).blend_changed(got.data() + offset, n);
      ASSERT_EQ(got, want) << "n " << n << " offset " << offset << " colour " << std::hex << c;
      ASSERT_EQ(got_changed, want_changed && a != 255) << "n " << n << " offset " << offset << " colour " << std::hex << c;
      got = r.dst;  // the untracked blend discs use
      ColourRows(c).blend(got.data() + offset, n);
      ASSERT_EQ(got, want) << "untracked n " << n << " offset " << offset << " colour " << std::hex << c;
      // Blended until settled, the row says it is.
      if (n > 0 && (a == 0 || a == 200)) {
        for (int k = 0; k < 40; ++k) ColourRows(c).blend(got.data() + offset, n);
        want = got;
        EXPECT_FALSE(ColourRows(c).blend_changed(got.data() + offset, n)) << n << " " << a;
        EXPECT_EQ(got, want);
        // One pixel unsettled, wherever in the row, shows (alpha 0 changes nothing ever).
        for (int at : {0, n / 2, n - 1}) {
          std::vector<Colour> one = want;
          one[offset + at] ^= 0x00800000u;
          EXPECT_EQ(ColourRows(c).blend_changed(one.data() + offset, n), a != 0) << n << " " << a << " at " << at;
        }
      }
    }
  });
}

TEST(PixelRows, PutRowsMatchReferenceForEveryAlpha) {
  for_rows([](Rows& r, int offset, int n, std::mt19937& gen) {
    for (std::uint32_t a = 0; a < 256; ++a) {
      std::vector<Colour> want = r.dst, got = r.dst;
      row_blend_reference(want.data() + offset, r.src.data() + offset, n, a + 1);
      row_blend(got.data() + offset, r.src.data() + offset, n, a + 1);
      ASSERT_EQ(got, want) << "blend n " << n << " offset " << offset << " alpha " << a;
      got = r.dst;  // the 16-byte loop alone, which machines without AVX2 run
      row_blend_narrow(got.data() + offset, r.src.data() + offset, n, a + 1);
      ASSERT_EQ(got, want) << "narrow blend n " << n << " offset " << offset << " alpha " << a;
      want = got = r.dst;
      row_additive_reference(want.data() + offset, r.src.data() + offset, n, a);
      row_additive(got.data() + offset, r.src.data() + offset, n, a);
      ASSERT_EQ(got, want) << "additive n " << n << " offset " << offset << " alpha " << a;
    }
    // Additive done several times over in one pass: as often one after the other.
    for (int times : {2, 3, 7}) {
      const std::uint32_t a = gen() & 0xFF;
      std::vector<Colour> want = r.dst, got = r.dst;
      for (int k = 0; k < times; ++k) row_additive_reference(want.data() + offset, r.src.data() + offset, n, a);
      row_additive(got.data() + offset, r.src.data() + offset, n, a, times);
      ASSERT_EQ(got, want) << "additive x" << times << " n " << n << " offset " << offset << " alpha " << a;
    }
    // And in two steps, the summands first: the same pixels.
    for (int times : {1, 2, 5}) {
      const std::uint32_t a = gen() & 0xFF;
      std::vector<Colour> want = r.dst, got = r.dst, add(r.src.size());
      for (int k = 0; k < times; ++k) row_additive_reference(want.data() + offset, r.src.data() + offset, n, a);
      row_additive_summands(add.data() + offset, r.src.data() + offset, n, a, times);
      row_add_saturate(got.data() + offset, add.data() + offset, n);
      ASSERT_EQ(got, want) << "summands x" << times << " n " << n << " offset " << offset << " alpha " << a;
    }
    std::vector<Colour> want = r.dst, got = r.dst;
    row_transparent_reference(want.data() + offset, r.src.data() + offset, n);
    row_transparent(got.data() + offset, r.src.data() + offset, n);
    ASSERT_EQ(got, want) << "transparent n " << n << " offset " << offset;
  });
}

// From sources without the mask colour: one blend at every weight, and the cross-fade's two in
// one pass, every first weight with its fade partner and with a random second weight.
TEST(PixelRows, UnmaskedBlendsMatchTheReference) {
  for_rows([](Rows& r, int offset, int n, std::mt19937& gen) {
    std::vector<Colour> second(r.src.size());
    for (Colour& c : second) c = gen() | 0x01000000u;
    for (std::size_t i = 0; i < second.size(); ++i) {
      if (mask(r.src[i])) r.src[i] ^= 1;
      if (mask(second[i])) second[i] ^= 1;
    }
    for (std::uint32_t w = 1; w < 256; ++w) {
      std::vector<Colour> want = r.dst, got = r.dst;
      row_blend_reference(want.data() + offset, r.src.data() + offset, n, w);
      row_blend_unmasked(got.data() + offset, r.src.data() + offset, n, w);
      ASSERT_EQ(got, want) << "unmasked n " << n << " offset " << offset << " weight " << w;
    }
    for (std::uint32_t w1 = 1; w1 < 256; ++w1)
      for (std::uint32_t w2 : {std::min(257 - w1, 255u), 1 + static_cast<std::uint32_t>(gen() % 255)}) {
        std::vector<Colour> want = r.dst, got = r.dst;
        row_blend_pair_reference(want.data() + offset, r.src.data() + offset, second.data() + offset, n, w1, w2);
        row_blend_pair(got.data() + offset, r.src.data() + offset, second.data() + offset, n, w1, w2);
        ASSERT_EQ(got, want) << "pair n " << n << " offset " << offset << " weights " << w1 << " " << w2;
        got = r.dst;
        row_blend_pair_narrow(got.data() + offset, r.src.data() + offset, second.data() + offset, n, w1, w2);
        ASSERT_EQ(got, want) << "narrow pair n " << n << " offset " << offset << " weights " << w1 << " " << w2;
      }
  });
}

// The loops write only their own row: the pixel after the last stays as it was.
TEST(PixelRows, NothingPastTheRowIsWritten) {
  std::mt19937 gen(3);
  for (int n = 0; n <= 9; ++n) {
    Rows r = random_rows(gen, n + 1);
    for (int i = 0; i <= n; ++i) r.src[i] = 0xFF123456u;
    const Colour guard = r.dst[n];
    ColourRows(0x80FFFFFFu).blend(r.dst.data(), n);
    row_blend(r.dst.data(), r.src.data(), n, 200);
    row_blend_pair(r.dst.data(), r.src.data(), r.src.data(), n, 100, 200);
    row_additive(r.dst.data(), r.src.data(), n, 200);
    row_add_saturate(r.dst.data(), r.src.data(), n);
    row_transparent(r.dst.data(), r.src.data(), n);
    EXPECT_EQ(r.dst[n], guard) << n;
  }
}

}  // namespace
