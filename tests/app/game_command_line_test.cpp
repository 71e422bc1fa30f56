// The windowed game refuses a recording it could never make before any window opens.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <chrono>

#include "tools/runner_process.h"

namespace {

TEST(GameCommandLine, ARecordingTargetOrAValueThatCannotBeIsRefusedAtOnceWithStatus2) {
  const std::filesystem::path dir = fresh_temp_dir("game_record_target");
  ASSERT_EQ(mknod((dir / "null").c_str(), S_IFCHR | 0666, makedev(1, 3)), 0) << "needs root";
  const std::pair<std::string, std::string> cases[] = {
      {"--record --help", "--record needs a file name, not the option '--help'"},
      {"--record '" + dir.string() + "'", "is a folder"},
      {"--record '" + (dir / "null").string() + "'", "is a device"},
  };
  for (const auto& [args, message] : cases) {
    SCOPED_TRACE(args);
    const std::string command = "cd '" + dir.string() + "' && '" + TORVANE_GAME_BIN + "' " + args + " 2>&1";
    const auto start = std::chrono::steady_clock::now();
    std::FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string out;
    char buffer[512];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    const int status = pclose(pipe);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 2);
    EXPECT_NE(out.find(message), std::string::npos) << out;
  }
  struct stat st {};
  EXPECT_TRUE(::lstat((dir / "null").c_str(), &st) == 0 && S_ISCHR(st.st_mode));
  EXPECT_FALSE(std::filesystem::exists(dir / "--help"));
  std::filesystem::remove_all(dir);
}

}  // namespace
