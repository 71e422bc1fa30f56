// Every generated picture pinned to the pixel: the four backgrounds come from fixed seeds and
// the sprites from fixed drawings, so any change of a pixel is a change of the game's look.
#include <gtest/gtest.h>

#include <iterator>

#include "asset_setup.h"

namespace {

struct Pinned {
  const char* name;
  Image** table;
  int element;
  std::uint64_t checksum;
};

std::uint64_t current(const Pinned& p) { return image_checksum(*p.table[p.element]); }

const Pinned kPinned[] = {
    {"background_images", background_images, 1, 0xd2a3b5ad6d2b448ull},
    {"background_images", background_images, 2, 0x91df0005d9c124f1ull},
    {"background_images", background_images, 3, 0x8f31cde002eed37eull},
    {"background_images", background_images, 4, 0x473d257f8df6ded3ull},
    {"ball_sprites", ball_sprites, 1, 0x22d7eaa122eaa375ull},
    {"ball_sprites", ball_sprites, 2, 0xf2c23e706fd8edfbull},
    {"ball_sprites", ball_sprites, 3, 0xa6b663538a844b4dull},
    {"ball_sprites", ball_sprites, 4, 0xc93753b80f54f72eull},
    {"ball_sprites", ball_sprites, 5, 0xd050e0555acae45dull},
    {"ball_sprites", ball_sprites, 6, 0x78af646c175b2f03ull},
    {"ball_sprites", ball_sprites, 7, 0xf2a9fa9a36ebd173ull},
    {"ball_sprites", ball_sprites, 8, 0x78af646c175b2f03ull},
    {"ball_sprites", ball_sprites, 9, 0x78af646c175b2f03ull},
    {"ball_sprites", ball_sprites, 10, 0x35d5dc53bf3d1e4aull},
    {"powerup_sprites", powerup_sprites, 1, 0xc9b81d490cc250c2ull},
    {"powerup_sprites", powerup_sprites, 2, 0x8b720d5b334441a2ull},
    {"powerup_sprites", powerup_sprites, 3, 0x708645753d581ea3ull},
    {"powerup_sprites", powerup_sprites, 4, 0x5f2780dcd66428ebull},
    {"powerup_sprites", powerup_sprites, 5, 0xea4827d5f2347822ull},
    {"powerup_sprites", powerup_sprites, 6, 0x259275c5936193c2ull},
    {"powerup_sprites", powerup_sprites, 7, 0xcb57f9222972e280ull},
    {"powerup_sprites", powerup_sprites, 8, 0x9f7fd86527e81574ull},
    {"powerup_sprites", powerup_sprites, 9, 0xe2191717ffbea3b0ull},
    {"powerup_sprites", powerup_sprites, 10, 0x78af646c175b2f03ull},
};

TEST(AssetChecksums, EveryImageMatchesItsPinnedChecksum) {
  ensure_assets_generated();
  for (const Pinned& p : kPinned)
    EXPECT_EQ(current(p), p.checksum) << p.name << " " << p.element << ": now 0x" << std::hex << current(p);
}

TEST(AssetChecksums, GeneratingAgainGivesTheSameImages) {
  ensure_assets_generated();
  std::uint64_t first[std::size(kPinned)];
  for (std::size_t i = 0; i < std::size(kPinned); ++i) first[i] = current(kPinned[i]);
  // Fresh images, as a second program run would have them.
  destroy_start_up_images();
  create_start_up_images();
  generate_assets();
  for (std::size_t i = 0; i < std::size(kPinned); ++i)
    EXPECT_EQ(current(kPinned[i]), first[i]) << kPinned[i].name << " " << kPinned[i].element;
}

}  // namespace
