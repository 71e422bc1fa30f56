// Writing an image as an 8-bit RGBA PNG.
#include "headless/png_writer.h"

// The WebAssembly build of the runner (under node) has no libpng, and a build for another
// architecture none for its target (though the host's png.h is in its path): they replay and
// play, but dump no pictures.
#if __has_include(<png.h>) && !defined(TORVANE_NO_PNG)
#include <png.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// Everything that must not live across the setjmp of libpng's error handling.
struct PngWrite {
  std::FILE* file = nullptr;
  png_structp png = nullptr;
  png_infop info = nullptr;
  ~PngWrite() {
    if (png) png_destroy_write_struct(&png, info ? &info : nullptr);
    if (file) std::fclose(file);
  }
};

void rgba_row(const Colour* pixels, int width, png_byte* out) {
  for (int x = 0; x < width; ++x) {
    const Colour c = pixels[x];
    out[4 * x + 0] = static_cast<png_byte>(c >> 16);
    out[4 * x + 1] = static_cast<png_byte>(c >> 8);
    out[4 * x + 2] = static_cast<png_byte>(c);
    out[4 * x + 3] = static_cast<png_byte>(c >> 24);
  }
}

bool encode(PngWrite& w, const Image& image, std::vector<png_byte>& row) {
  if (setjmp(png_jmpbuf(w.png))) return false;
  png_init_io(w.png, w.file);
  png_set_IHDR(w.png, w.info, static_cast<png_uint_32>(image.width),
               static_cast<png_uint_32>(image.height), 8, PNG_COLOR_TYPE_RGB_ALPHA,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(w.png, w.info);
  for (int y = 0; y < image.height; ++y) {
    rgba_row(image.row(y), image.width, row.data());
    png_write_row(w.png, row.data());
  }
  png_write_end(w.png, nullptr);
  return true;
}

}  // namespace

std::string write_png(const std::string& path, const Image& image) {
  if (image.width < 1 || image.height < 1) return "cannot write '" + path + "': the image is empty";
  PngWrite w;
  w.file = std::fopen(path.c_str(), "wb");
  if (!w.file) return "cannot write '" + path + "': " + std::strerror(errno);
  w.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (w.png) w.info = png_create_info_struct(w.png);
  if (!w.png || !w.info) return "cannot write '" + path + "': libpng could not start";
  std::vector<png_byte> row(static_cast<std::size_t>(image.width) * 4);
  if (!encode(w, image, row)) return "cannot write '" + path + "': libpng failed";
  const bool stream_error = std::ferror(w.file) != 0;
  const int close_result = std::fclose(w.file);
  w.file = nullptr;
  if (stream_error || close_result != 0) return "cannot write '" + path + "': " + std::strerror(errno);
  return "";
}

#else

std::string write_png(const std::string& path, const Image&) {
  return "cannot write '" + path + "': this build of the runner has no PNG support";
}

#endif
