#pragma once
// Whole games through the built torvane-headless: running it, reading its summary line and
// the pages it dumps.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "gfx/gfx.h"
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
  // Each result is a flat object.
  const std::string list = json.substr(at, json.find(']', at) - at);
  const std::regex object("\\{[^{}]*\\}");
  for (std::sregex_iterator it(list.begin(), list.end(), object), end; it != end; ++it) out.push_back(it->str());
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

// One run of torvane-headless in a fresh working folder that has a data/ folder, playing the
// key script when there is one, with each dump written into the folder under its name.
struct GameRun {
  std::filesystem::path dir;
  ProcessResult result;
  std::string top;                  // the summary's top-level keys
  std::vector<std::string> rounds;  // its round results
};
inline GameRun run_game(const std::string& name, const std::string& args, const std::string& script = "",
                        const std::vector<std::pair<long, std::string>>& dumps = {}) {
  GameRun run{fresh_temp_dir("e2e_" + name), {}, {}, {}};
  std::filesystem::create_directories(run.dir / "data");
  std::string line = args + " --workdir '" + run.dir.string() + "'";
  if (!script.empty()) line += " --script '" + write_script(run.dir, script) + "'";
  for (const auto& [ms, file] : dumps) line += " --dump-frame '" + std::to_string(ms) + ":" + (run.dir / file).string() + "'";
  // Settings, and scores not kept in data/, stay inside the run's folder.
  run.result = run_headless_bin(line, "XDG_CONFIG_HOME='" + (run.dir / "config").string() + "' XDG_DATA_HOME='" +
                                          (run.dir / "share").string() + "'");
  run.top = top_level(run.result.out);
  run.rounds = round_results(run.result.out);
  return run;
}

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
