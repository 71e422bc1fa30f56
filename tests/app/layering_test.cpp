// The house rules: the folders of src/ stand in one order and each includes only the folders
// below it, so no two folders call each other; only the SDL backend sees SDL and only the web
// backend emscripten, and only the maths room calls sines, powers and the like. Read straight
// from the sources, so a stray include or call fails here by name.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <algorithm>
#include <vector>
#include <string>

namespace fs = std::filesystem;

namespace {

// Every folder from the ground up; a folder includes only folders before it (gfx and audio
// stand side by side, neither including the other).
const std::vector<std::string> kOrder = {"frame", "gfx", "audio", "platform", "settings", "round", "assets",
                                         "effects", "enemies", "line", "frontend", "app"};

int rank(const std::string& folder) {
  if (folder == "audio") return 1;
  const auto at = std::find(kOrder.begin(), kOrder.end(), folder);
  return at == kOrder.end() ? -1 : static_cast<int>(at - kOrder.begin());
}

// The round's loop still lives in round/ beside the state every game folder shares, so these
// files call up into the game until they move above it. No include may join them, and each
// must still be there, so the list only shrinks.
const std::set<std::pair<std::string, std::string>> kKnownCrossings = {
    {"effects/powerups.cpp", "enemies"}, {"round/abort_dialog.cpp", "assets"},
    {"round/final_score.cpp", "frontend"}, {"round/frame_steps.cpp", "assets"},
    {"round/frame_steps.cpp", "line"},     {"round/phase_script.cpp", "effects"},
    {"round/phase_script.cpp", "enemies"}, {"round/round_calls.cpp", "line"},
    {"round/run_round.cpp", "assets"},     {"round/run_round.cpp", "effects"},
    {"round/run_round.cpp", "enemies"},    {"round/run_round.cpp", "frontend"},
    {"round/run_round.cpp", "line"}};

TEST(Layering, EveryFolderIncludesOnlyTheFoldersBelowItAndOnlyTheBackendsSeeTheirLibraries) {
  const fs::path src = fs::path(TORVANE_SOURCE_DIR) / "src";
  const std::regex project_include(R"(^\s*#\s*include\s*"([a-z_]+)/)");
  const std::regex sdl_include(R"(^\s*#\s*include\s*[<"]SDL)");
  const std::regex web_include(R"(^\s*#\s*include\s*[<"]emscripten)");
  int files = 0;
  std::set<std::pair<std::string, std::string>> crossings;
  for (const auto& entry : fs::recursive_directory_iterator(src)) {
    if (!entry.is_regular_file()) continue;
    const fs::path rel = fs::relative(entry.path(), src);
    const std::string folder = rel.begin()->string();
    const std::string name = rel.filename().string();
    ASSERT_GE(rank(folder), 0) << rel << " is in a folder the house rules do not know";
    const bool sdl_backend = folder == "platform" && name.rfind("i_sdl", 0) == 0;
    const bool web_backend = folder == "platform" && name.rfind("i_web", 0) == 0;
    std::ifstream in(entry.path());
    std::string line;
    for (int n = 1; std::getline(in, line); ++n) {
      std::smatch m;
      if (std::regex_search(line, m, project_include)) {
        const std::string target = m[1];
        const bool known = kKnownCrossings.count({rel.string(), target}) > 0;
        if (known) crossings.insert({rel.string(), target});
        EXPECT_TRUE(target == folder || (rank(target) < rank(folder) && !(folder == "audio" && target == "gfx")) || known)
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
  EXPECT_EQ(crossings, kKnownCrossings) << "a crossing that is gone must leave the list too";
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
