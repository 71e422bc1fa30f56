// --dump-assets: every generated image as PNG.
#include "headless/asset_dump.h"

#include <filesystem>
#include <system_error>

#include "app/startup.h"
#include "assets/icon.h"
#include "assets/images.h"
#include "headless/png_writer.h"

namespace {

std::string write_set(const std::filesystem::path& dir, const char* stem, Image* const* images, int count) {
  for (int i = 1; i <= count; ++i) {
    const std::string path = (dir / (std::string(stem) + "_" + std::to_string(i) + ".png")).string();
    if (!images[i]) return "cannot write '" + path + "': the image was not created";
    if (std::string error = write_png(path, *images[i]); !error.empty()) return error;
  }
  return "";
}

}  // namespace

std::string dump_assets(const std::string& dir) {
  const std::filesystem::path folder(dir);
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (ec) return "cannot write assets into '" + dir + "': " + ec.message();
  if (!std::filesystem::is_directory(folder, ec)) return "cannot write assets into '" + dir + "': not a directory";
  start_up();
  if (std::string error = write_set(folder, "background", background_images, 4); !error.empty()) return error;
  if (std::string error = write_set(folder, "ball", ball_sprites, 10); !error.empty()) return error;
  return write_set(folder, "powerup", powerup_sprites, 10);
}

std::string dump_icon(int size, const std::string& path) {
  start_up();
  Image icon;
  draw_icon(icon, size);
  return write_png(path, icon);
}
