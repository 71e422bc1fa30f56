// The player's folders and where music is looked for: the working folder first, then the
// user's data folder.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "system/user_folders.h"

namespace {

namespace fs = std::filesystem;

TEST(UserFolders, MusicIsLookedForInTheWorkingFolderThenTheUsersDataFolder) {
  char pattern[] = "/tmp/torvane_folders_XXXXXX";
  const fs::path dir = mkdtemp(pattern), old = fs::current_path();
  fs::current_path(dir);
  setenv("XDG_DATA_HOME", (dir / "share").c_str(), 1);
  setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
  EXPECT_EQ(user_config_folder(), (dir / "config" / "torvane").string());
  EXPECT_EQ(music_file("a.mp3"), "Sounds/a.mp3");  // nowhere: the working folder's name
  fs::create_directories(dir / "share" / "torvane" / "Sounds");
  std::ofstream(dir / "share" / "torvane" / "Sounds" / "a.mp3") << "x";
  EXPECT_EQ(music_file("a.mp3"), (dir / "share" / "torvane" / "Sounds" / "a.mp3").string());
  fs::create_directories("Sounds/a.mp3");  // a folder by that name is no music
  EXPECT_EQ(music_file("a.mp3"), (dir / "share" / "torvane" / "Sounds" / "a.mp3").string());
  fs::remove("Sounds/a.mp3");
  std::ofstream("Sounds/a.mp3") << "x";
  EXPECT_EQ(music_file("a.mp3"), "Sounds/a.mp3");
  fs::current_path(old);
  fs::remove_all(dir);
}

}  // namespace
