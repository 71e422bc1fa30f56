// What start-up generates, pinned to the pixel: the four backgrounds come from fixed seeds and
// the sprites from fixed drawings, so any change of a pixel is a change of the game's look.
#include <gtest/gtest.h>

#include <string_view>

#include "asset_setup.h"

namespace {

// FNV-1a over the width, the height and the pixels, row by row.
std::uint64_t checksum(const Image& image) {
  std::uint64_t h = 1469598103934665603ull;
  auto mix = [&h](std::uint32_t word) {
    for (int b = 0; b < 4; ++b) h = (h ^ ((word >> (8 * b)) & 0xFFu)) * 1099511628211ull;
  };
  mix(static_cast<std::uint32_t>(image.width));
  mix(static_cast<std::uint32_t>(image.height));
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x) mix(image.row(y)[x]);
  return h;
}

// An 18x18 sprite as created: slots nobody draws on must keep it.
constexpr std::uint64_t kBlank = 0x78af646c175b2f03ull;
const std::uint64_t kBackgrounds[] = {0xd2a3b5ad6d2b448ull, 0x91df0005d9c124f1ull, 0x8f31cde002eed37eull,
                                      0x473d257f8df6ded3ull};
const std::uint64_t kBalls[] = {0x22d7eaa122eaa375ull, 0xf2c23e706fd8edfbull, 0xa6b663538a844b4dull, 0xc93753b80f54f72eull,
                                0xd050e0555acae45dull, kBlank, 0xf2a9fa9a36ebd173ull, kBlank, kBlank,
                                0x35d5dc53bf3d1e4aull};
const std::uint64_t kPowerups[] = {0xc9b81d490cc250c2ull, 0x8b720d5b334441a2ull, 0x708645753d581ea3ull,
                                   0x5f2780dcd66428ebull, 0xea4827d5f2347822ull, 0x259275c5936193c2ull,
                                   0xcb57f9222972e280ull, 0x9f7fd86527e81574ull, 0xe2191717ffbea3b0ull, kBlank};

TEST(GeneratedImages, EachMatchesItsPinnedChecksumAndSpritesNobodyDrawsStayBlank) {
  ensure_assets_generated();
  Image* fresh = gfx_image_create(18, 18);
  EXPECT_EQ(checksum(*fresh), kBlank);
  gfx_image_destroy(fresh);
  const struct { const char* name; Image** images; const std::uint64_t* pinned; int count; } sets[] = {{"background", background_images, kBackgrounds, 4},
      {"ball", ball_sprites, kBalls, 10}, {"powerup", powerup_sprites, kPowerups, 10}};
  for (const auto& set : sets)
    for (int i = 1; i <= set.count; ++i)
      EXPECT_EQ(checksum(*set.images[i]), set.pinned[i - 1])
          << set.name << " " << i << ": now 0x" << std::hex << checksum(*set.images[i]);
}

TEST(GeneratedImages, TopLeftPixelOfEachBackgroundIsWorkedOutByHand) {
  ensure_assets_generated();
  const Colour expected[] = {
      0xC000005Cu,  // a cell centre, t = 0: 0x730000CD over black: 205 * 115 / 256 -> 92, alpha 192
      0xC6540000u,  // t = 0: 0x55FF0000 over black: red 255 * 85 / 256 -> 84, alpha 198
      // Seed 16569 gives the corners 29, 129, 0, 100 (bottom-left first); top-left 100 is
      // palette entry 0x5D0D32, which alpha 74 over black takes to floor(c * 75 / 256).
      0xFF1B030Eu,
      0xFF225451u,  // seed 5155: top-left 250 is 0x66FBF3, alpha 85 gives c * 86 / 256
  };
  for (int i = 1; i <= 4; ++i) EXPECT_EQ(at(background_images[i], 0, 0), expected[i - 1]) << i;
}

}  // namespace
