#pragma once
// Whole games through the built torvane-headless: scripts for it, the pages it dumps and the
// table it leaves.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "gfx/gfx.h"
#include "tools/png_read.h"
#include "tools/runner_process.h"

// A member of the runner's one-line JSON summary, as its raw text ("" when missing).
inline std::string json_field(const std::string& json, const std::string& key) {
  const std::size_t at = json.find("\"" + key + "\":");
  if (at == std::string::npos) return "";
  const std::size_t start = at + key.size() + 3;
  return json.substr(start, json.find_first_of(",}", start) - start);
}

// The player's own folders under dir, as the environment names them.
inline std::string xdg_env(const std::filesystem::path& dir) {
  return "XDG_CONFIG_HOME='" + (dir / "config").string() + "' XDG_DATA_HOME='" + (dir / "share").string() + "'";
}

// A script file in dir.
inline std::string write_script(const std::filesystem::path& dir, const std::string& text) {
  const std::filesystem::path path = dir / "keys.txt";
  std::ofstream(path) << text;
  return path.string();
}

// A dumped PNG as a page of ARGB pixels.
inline Image load_page(const std::filesystem::path& path) {
  const Png png = read_png(path);
  Image page;
  page.width = png.width;
  page.height = png.height;
  page.stride = png.width;
  page.pixels.resize(static_cast<std::size_t>(png.width) * png.height);
  for (std::size_t i = 0; i < page.pixels.size() && i * 4 + 3 < png.rgba.size(); ++i) {
    const std::uint8_t* p = &png.rgba[i * 4];
    page.pixels[i] = (Colour(p[3]) << 24) | (Colour(p[0]) << 16) | (Colour(p[1]) << 8) | p[2];
  }
  return page;
}

// The menu is up (settled, "Start New Game" selected) well before this virtual time.
constexpr int kMenuReadyMs = 3000;

// The high-score file's lines, unscrambled ("vantry" added to each byte, CR LF ends).
inline std::vector<std::string> high_score_lines(const std::filesystem::path& dir) {
  const std::string bytes = read_file(dir / "data" / "hs.dat");
  std::vector<std::string> lines;
  for (std::size_t start = 0, end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2) {
    std::string line = bytes.substr(start, end - start);
    for (std::size_t i = 0; i < line.size(); ++i)
      line[i] = static_cast<char>(static_cast<unsigned char>(line[i]) - "vantry"[i % 6]);
    lines.push_back(line);
  }
  return lines;
}
