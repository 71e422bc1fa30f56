// While the backgrounds are computed the player sees the wait text on an otherwise black page,
// and none of the background work shows.
#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "asset_setup.h"
#include "frame/font8x8.h"
#include "frame/i_platform.h"
#include "headless/headless_platform.h"

namespace {

TEST(WaitScreen, LastPageShownIsTheWaitTextOnBlack) {
  HeadlessPlatform backend;
  platform_install(&backend);
  gfx_open_screen(640, 480, 32, 2, kGfxAlphaPrimitives, 0);
  gfx_set_pages(1, 0);
  destroy_start_up_images();  // a fresh set, as start-up makes it
  create_start_up_images();
  std::vector<Colour> last;
  int shown = 0;
  backend.set_present_hook([&](const Image& page, std::int64_t) {
    last = page.pixels;
    ++shown;
  });
  generate_assets();
  platform_install(nullptr);
  ASSERT_GE(shown, 1);

  constexpr std::string_view kText = "Please Wait - Generating Backgrounds";
  int expected_lit = 0;
  for (std::size_t i = 0; i < kText.size(); ++i) {
    const std::uint8_t* glyph = font8x8[static_cast<unsigned char>(kText[i])];
    for (int row = 0; row < 8; ++row)
      for (int col = 0; col < 8; ++col)
        if ((glyph[row] >> (7 - col)) & 1) {
          ++expected_lit;
          const int x = 200 + static_cast<int>(i) * 8 + col, y = 220 + row;
          ASSERT_EQ(last[static_cast<std::size_t>(y) * 640 + x], 0xFFC05100u) << x << "," << y;
        }
  }
  int lit = 0, other = 0;
  for (Colour c : last) {
    lit += c == 0xFFC05100u;
    other += c != 0xFFC05100u && c != 0xFF000000u;
  }
  EXPECT_EQ(lit, expected_lit);
  EXPECT_EQ(other, 0);
}

}  // namespace
