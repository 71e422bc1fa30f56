#pragma once
// Reading PNGs back in tests.
#include <png.h>

#include <filesystem>
#include <vector>

// A PNG read back through libpng: its header and its pixels as 8-bit RGBA.
struct Png {
  int width = 0;
  int height = 0;
  bool rgba_8bit = false;  // what the file itself stores
  std::vector<png_byte> rgba;
};

inline Png read_png(const std::filesystem::path& path) {
  Png png;
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return png;
  png.width = static_cast<int>(image.width);
  png.height = static_cast<int>(image.height);
  png.rgba_8bit = image.format == PNG_FORMAT_RGBA;
  image.format = PNG_FORMAT_RGBA;
  png.rgba.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, png.rgba.data(), 0, nullptr)) png.rgba.clear();
  png_image_free(&image);
  return png;
}

