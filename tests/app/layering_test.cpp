// The folders' rules, read straight from the sources: every include runs down the one order
// of src/README.md, only the backends see their libraries, only the maths calls sines and
// powers, and every source file says in its first line what it is.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path kSource = fs::path(TORVANE_SOURCE_DIR);

struct Folder {
  std::string name;
  std::set<std::string> may_include;
  bool includes_all_above = false;
};

// The table after the folder-order marker in src/README.md, top row first.
std::vector<Folder> read_folder_order() {
  std::ifstream in(kSource / "src" / "README.md");
  const std::regex row(R"(^\| `([a-z_]+)` \| ([^|]*)\|)");
  std::vector<Folder> folders;
  bool in_table = false;
  for (std::string line; std::getline(in, line);) {
    if (line.find("<!-- folder-order -->") != std::string::npos) in_table = true;
    std::smatch m;
    if (!in_table || !std::regex_search(line, m, row)) {
      if (in_table && !folders.empty() && line.empty()) break;
      continue;
    }
    Folder f{m[1], {}, false};
    std::string cell = m[2];
    if (cell.find("every folder above") != std::string::npos) {
      f.includes_all_above = true;
    } else {
      std::stringstream names(cell);
      for (std::string name; std::getline(names, name, ',');) {
        name.erase(std::remove(name.begin(), name.end(), ' '), name.end());
        if (!name.empty()) f.may_include.insert(name);
      }
    }
    folders.push_back(f);
  }
  return folders;
}

int position(const std::vector<Folder>& order, const std::string& name) {
  for (std::size_t i = 0; i < order.size(); ++i)
    if (order[i].name == name) return static_cast<int>(i);
  return -1;
}

std::vector<fs::path> source_files(const fs::path& top) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::recursive_directory_iterator(top)) {
    const std::string ext = entry.path().extension().string();
    if (entry.is_regular_file() && (ext == ".cpp" || ext == ".h")) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

TEST(Layering, TheFolderTableIsOneOrderWhoseIncludesOnlyRunDown) {
  const auto order = read_folder_order();
  ASSERT_GE(order.size(), 10u) << "src/README.md has no folder table after its marker";
  for (std::size_t i = 0; i < order.size(); ++i) {
    EXPECT_EQ(position(order, order[i].name), static_cast<int>(i)) << order[i].name << " is listed twice";
    for (const std::string& lower : order[i].may_include) {
      const int at = position(order, lower);
      EXPECT_TRUE(at >= 0 && at < static_cast<int>(i))
          << order[i].name << " may include " << lower << ", which does not stand above it";
    }
  }
  for (const auto& entry : fs::directory_iterator(kSource / "src")) {
    if (!entry.is_directory()) continue;
    EXPECT_GE(position(order, entry.path().filename().string()), 0)
        << "src/" << entry.path().filename().string() << " is not in the folder table";
  }
}

TEST(Layering, EveryIncludeIsOfTheFolderItselfOrOneItMayIncludeAndEachAllowanceIsUsed) {
  const auto order = read_folder_order();
  ASSERT_FALSE(order.empty());
  const std::regex project_include(R"(^\s*#\s*include\s*"([a-z_]+)/)");
  std::map<std::string, std::set<std::string>> used;
  int files = 0;
  for (const fs::path& path : source_files(kSource / "src")) {
    const std::string rel = fs::relative(path, kSource / "src").string();
    const std::string folder = rel.substr(0, rel.find('/'));
    const int at = position(order, folder);
    ASSERT_GE(at, 0) << rel;
    const Folder& f = order[at];
    std::ifstream in(path);
    std::string line;
    for (int n = 1; std::getline(in, line); ++n) {
      std::smatch m;
      if (!std::regex_search(line, m, project_include) || m[1] == folder) continue;
      const std::string target = m[1];
      const int target_at = position(order, target);
      const bool allowed = f.includes_all_above ? (target_at >= 0 && target_at < at) : f.may_include.count(target) > 0;
      EXPECT_TRUE(allowed) << "src/" << rel << ":" << n << " includes " << target << "/, which "
                           << folder << "/ may not include";
      used[folder].insert(target);
    }
    ++files;
  }
  EXPECT_GT(files, 150);
  // An allowance nothing uses is a loose end: the table says less than it seems to.
  for (const Folder& f : order)
    for (const std::string& lower : f.may_include)
      EXPECT_TRUE(used[f.name].count(lower)) << f.name << " may include " << lower << " but never does";
}

TEST(Layering, OnlyTheBackendsSeeTheirLibraries) {
  const std::regex sdl_include(R"(^\s*#\s*include\s*[<"]SDL)");
  const std::regex web_include(R"(^\s*#\s*include\s*[<"]emscripten)");
  for (const fs::path& path : source_files(kSource / "src")) {
    const std::string rel = fs::relative(path, kSource / "src").string();
    const bool sdl_backend = rel.rfind("platform/i_sdl", 0) == 0;
    const bool web_backend = rel.rfind("platform/i_web", 0) == 0;
    std::ifstream in(path);
    std::string line;
    for (int n = 1; std::getline(in, line); ++n) {
      EXPECT_FALSE(!sdl_backend && std::regex_search(line, sdl_include)) << rel << ":" << n << " includes SDL";
      EXPECT_FALSE(!web_backend && std::regex_search(line, web_include)) << rel << ":" << n << " includes emscripten";
    }
  }
}

// A newcomer reads the first line of a file to know what it is: a comment, under the header's
// #pragma once.
TEST(Layering, EverySourceFileOpensWithALineSayingWhatItIs) {
  for (const char* top : {"src", "tools/headless"}) {
    for (const fs::path& path : source_files(kSource / top)) {
      std::ifstream in(path);
      std::string first;
      std::getline(in, first);
      if (first == "#pragma once") std::getline(in, first);
      EXPECT_EQ(first.rfind("// ", 0), 0u) << fs::relative(path, kSource).string() << " opens with: " << first;
    }
  }
}

TEST(Layering, TheTestsMirrorTheSourceFolders) {
  const std::set<std::string> not_folders = {"e2e", "replays", "tools", "web", "server"};
  const auto order = read_folder_order();
  for (const auto& entry : fs::directory_iterator(kSource / "tests")) {
    const std::string name = entry.path().filename().string();
    if (!entry.is_directory() || not_folders.count(name)) continue;
    EXPECT_GE(position(order, name), 0) << "tests/" << name << " has no folder src/" << name;
  }
}

// C libraries round these differently in the last bit, so the game takes them from
// base/game_math only: a call of the C library's own would let a replay go another way.
TEST(Layering, OnlyTheGamesOwnMathsCallsTheCLibrarysTranscendentals) {
  const std::regex libm_call(
      R"((^|[^\w:.>])(std::|::)?(sin|cos|tan|sincos|atan|atan2|asin|acos|pow|exp|exp2|expm1|log|log2|log10|log1p|)"
      R"(hypot|sinh|cosh|tanh|asinh|acosh|atanh|cbrt)[fl]?\s*\()");
  const std::regex own_maths(R"(^src/base/game_math[^/]*$)");
  int files = 0;
  for (const char* top : {"src", "tools"}) {
    for (const fs::path& path : source_files(kSource / top)) {
      const std::string rel = fs::relative(path, kSource).string();
      if (std::regex_search(rel, own_maths)) continue;
      std::ifstream in(path);
      std::string line;
      for (int n = 1; std::getline(in, line); ++n) {
        const std::string code = line.substr(0, line.find("//"));
        EXPECT_FALSE(std::regex_search(code, libm_call)) << rel << ":" << n << " calls the C library's maths: " << line;
      }
      ++files;
    }
  }
  EXPECT_GT(files, 100);
}

}  // namespace
