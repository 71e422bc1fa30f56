#pragma once
// Whole games through the built torvane-headless: running it, reading its summary line and
// the pages it dumps.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "frame/gfx.h"
#include "tools/png_read.h"
#include "tools/runner_process.h"

// The number after "key": in a flat JSON object (the first one), or NAN when missing.
inline double json_number(const std::string& json, const std::string& key) {
  const std::regex pattern("\"" + key + "\":(-?[0-9.eE+-]+)");
  std::smatch m;
  if (!std::regex_search(json, m, pattern)) return NAN;
  return std::stod(m[1]);
}

// The objects of the summary's "round_results" array, as texts.
inline std::vector<std::string> round_results(const std::string& json) {
  std::vector<std::string> out;
  const std::size_t at = json.find("\"round_results\":[");
  if (at == std::string::npos) return out;
  std::size_t i = json.find('[', at) + 1;
  while (i < json.size() && json[i] == '{') {
    const std::size_t end = json.find('}', i);
    if (end == std::string::npos) break;
    out.push_back(json.substr(i, end - i + 1));
    i = end + 1;
    if (i < json.size() && json[i] == ',') ++i;
  }
  return out;
}

// The summary without its round results, so that only top-level keys are found.
inline std::string top_level(const std::string& json) {
  const std::size_t at = json.find(",\"round_results\":[");
  if (at == std::string::npos) return json;
  const std::size_t end = json.find(']', at);
  return end == std::string::npos ? json.substr(0, at) : json.substr(0, at) + json.substr(end + 1);
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
