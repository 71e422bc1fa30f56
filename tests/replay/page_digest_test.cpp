// The page and sound digests are the same on every machine: values pinned on x86-64, which a
// big-endian or 32-bit build must reproduce (tools/test-arches.sh runs this there).
#include <gtest/gtest.h>

#include <cstdint>

#include "gfx/gfx.h"
#include "replay/page_digest.h"

namespace {

// A page wider than the digest's blocks of 256 pixels, its rows padded like the screen's.
Image test_page(int stride) {
  Image page;
  page.width = 600;
  page.height = 3;
  page.stride = stride;
  page.pixels.assign(static_cast<std::size_t>(stride) * page.height, 0xDEADBEEF);
  for (int y = 0; y < page.height; ++y)
    for (int x = 0; x < page.width; ++x) page.row(y)[x] = 0x01020304u * static_cast<Colour>(x + 1) + static_cast<Colour>(y << 24);
  return page;
}

TEST(PageDigest, PixelWordsHashLowByteFirstAndRowsAsIfPacked) {
  const std::uint64_t packed = page_digest_chain(7, test_page(600));
  EXPECT_EQ(packed, 0x1aa264f3cc14dd93ull);
  EXPECT_EQ(page_digest_chain(7, test_page(608)), packed);
  EXPECT_EQ(page_digest_chain(packed, test_page(608)), 0x970266e7d09b30e9ull);
}

TEST(SoundDigest, EveryCallKindAndValueIsChainedInAFixedByteOrder) {
  SoundDigest digest;
  digest.play_sound(3);
  digest.play_music("/usr/share/torvane/Sounds/TorvaneMenu.mp3");
  digest.set_volumes(75, 100);
  digest.stop_music();
  digest.play_sound(-1);
  EXPECT_EQ(digest.value(), 0x3def4a051cb62bb6ull);
}

}  // namespace
