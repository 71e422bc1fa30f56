// write_png: channel order, the alpha byte, and the row padding of images left out.
#include <gtest/gtest.h>

#include "headless/png_writer.h"
#include "tools/png_read.h"
#include "tools/runner_process.h"

TEST(PngWriter, PixelsComeBackAsRgbaWithTheTopByteAsAlpha) {
  Image image;
  image.width = 3;
  image.height = 2;
  image.stride = 4;  // one padding pixel per row that must not be written
  image.pixels = {0xFF102030, 0x80405060, 0x00FF00FF, 0xDEADBEEF, 0x7F010203, 0xFFFFFFFF, 0x01000000, 0xDEADBEEF};
  const std::filesystem::path dir = fresh_temp_dir("png_writer");
  ASSERT_EQ(write_png((dir / "image.png").string(), image), "");
  const Png png = read_png(dir / "image.png");
  EXPECT_EQ(png.width, 3);
  EXPECT_EQ(png.height, 2);
  EXPECT_TRUE(png.rgba_8bit);
  EXPECT_EQ(png.rgba, (std::vector<png_byte>{0x10, 0x20, 0x30, 0xFF, 0x40, 0x50, 0x60, 0x80, 0xFF, 0x00, 0xFF, 0x00,
                                             0x01, 0x02, 0x03, 0x7F, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x01}));
  EXPECT_NE(write_png((dir / "none" / "x.png").string(), image).find("cannot write"), std::string::npos);
  std::filesystem::remove_all(dir);
}
