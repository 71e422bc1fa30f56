// The house rules: every folder of src/ includes only the folders below it, only the SDL
// backend sees SDL and only the web backend emscripten, and only the maths room calls sines,
// powers and the like. Read straight from the sources, so a stray include or call fails here
// by name.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>

namespace fs = std::filesystem;

namespace {

const std::set<std::string> kGame = {"round", "line", "enemies", "effects", "frontend", "assets"};

// The folders each folder may include besides itself.
std::set<std::string> allowed_below(const std::string& folder) {
  if (folder == "frame") return {};
  if (folder == "gfx" || folder == "audio") return {"frame"};
  if (folder == "platform") return {"frame", "gfx", "audio"};
  if (folder == "app") return {"frame", "gfx", "audio", "platform", "round", "line", "enemies",
                               "effects", "frontend", "assets"};
  std::set<std::string> game = {"frame", "gfx", "audio"};
  for (const auto& g : kGame)
    // Calls between the line and the enemies run one way: weapons hand shots to the hit pass.
    if (!(folder == "enemies" && g == "line")) game.insert(g);
  return game;
}

TEST(Layering, EveryFolderIncludesOnlyTheFoldersBelowItAndOnlyTheBackendsSeeTheirLibraries) {
  const fs::path src = fs::path(TORVANE_SOURCE_DIR) / "src";
  const std::regex project_include(R"(^\s*#\s*include\s*"([a-z_]+)/)");
  const std::regex sdl_include(R"(^\s*#\s*include\s*[<"]SDL)");
  const std::regex web_include(R"(^\s*#\s*include\s*[<"]emscripten)");
  int files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(src)) {
    if (!entry.is_regular_file()) continue;
    const fs::path rel = fs::relative(entry.path(), src);
    const std::string folder = rel.begin()->string();
    const std::string name = rel.filename().string();
    ASSERT_TRUE(folder == "frame" || folder == "gfx" || folder == "audio" || folder == "platform" ||
                folder == "app" || kGame.count(folder))
        << rel << " is in a folder the house rules do not know";
    const auto allowed = allowed_below(folder);
    const bool sdl_backend = folder == "platform" && name.rfind("i_sdl", 0) == 0;
    const bool web_backend = folder == "platform" && name.rfind("i_web", 0) == 0;
    std::ifstream in(entry.path());
    std::string line;
    for (int n = 1; std::getline(in, line); ++n) {
      std::smatch m;
      if (std::regex_search(line, m, project_include)) {
        const std::string target = m[1];
        EXPECT_TRUE(target == folder || allowed.count(target))
            << rel.string() << ":" << n << " reaches up into " << target << "/";
      }
      EXPECT_FALSE(!sdl_backend && std::regex_search(line, sdl_include))
          << rel.string() << ":" << n << " includes SDL outside the SDL backend";
      EXPECT_FALSE(!web_backend && std::regex_search(line, web_include))
          << rel.string() << ":" << n << " includes emscripten outside the web backend";
    }
    ++files;
  }
  EXPECT_GT(files, 100);
}

// C libraries round these differently in the last bit, so the game takes them from
// frame/game_math only: a call of the C library's own would let a replay go another way.
TEST(Layering, OnlyTheMathsRoomCallsTheCLibrarysTranscendentals) {
  const std::regex libm_call(
      R"((^|[^\w:.>])(std::|::)?(sin|cos|tan|sincos|atan|atan2|asin|acos|pow|exp|exp2|expm1|log|log2|log10|log1p|)"
      R"(hypot|sinh|cosh|tanh|asinh|acosh|atanh|cbrt)[fl]?\s*\()");
  const std::regex maths_room(R"(^src/frame/[^/]*math[^/]*$)");
  int files = 0;
  for (const char* top : {"src", "tools"}) {
    for (const auto& entry : fs::recursive_directory_iterator(fs::path(TORVANE_SOURCE_DIR) / top)) {
      const std::string ext = entry.path().extension().string();
      if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h")) continue;
      const std::string rel = fs::relative(entry.path(), TORVANE_SOURCE_DIR).string();
      if (std::regex_search(rel, maths_room)) continue;
      std::ifstream in(entry.path());
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
