// What killed saves leave beside a file is cleared by the next save, and nothing else is: not
// a save in progress, not a link, a folder, a second name or another user's file.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <set>
#include <thread>

#include "system/safe_save.h"
#include "tools/runner_process.h"

namespace {

namespace fs = std::filesystem;

void put(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

// Sets a file's (not a link's target's) time of change so many seconds back.
void age(const fs::path& path, int seconds) {
  struct timespec times[2];
  clock_gettime(CLOCK_REALTIME, &times[0]);
  times[0].tv_sec -= seconds;
  times[1] = times[0];
  ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0) << path;
}

std::set<std::string> names_in(const fs::path& dir) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) names.insert(entry.path().filename().string());
  return names;
}

TEST(SafeSave, ASaveClearsOnlyTheStaleTempFilesOfItsOwnFile) {
  const fs::path dir = fresh_temp_dir("safe_save_sweep");
  const fs::path target = dir / "hs.dat";
  put(target, "old");
  const int stale = kStaleTempSeconds + 1;
  for (const char* name : {"hs.dat.AbC123", "hs.dat.zz9ZZ9"}) {  // killed saves
    put(dir / name, "half");
    age(dir / name, stale);
  }
  put(dir / "hs.dat.Fresh1", "");  // another game's save, under way
  age(dir / "hs.dat.Fresh1", kStaleTempSeconds - 2);
  put(dir / "elsewhere", "keep");
  fs::create_symlink(dir / "elsewhere", dir / "hs.dat.Link01");
  age(dir / "hs.dat.Link01", stale);
  fs::create_directory(dir / "hs.dat.Dir001");
  age(dir / "hs.dat.Dir001", stale);
  put(dir / "hs.dat.Twice1", "two names");
  fs::create_hard_link(dir / "hs.dat.Twice1", dir / "second");
  age(dir / "hs.dat.Twice1", stale);
  for (const char* name : {"hs.dat.bak", "hs.dat.ABCDEFG", "hs.dat.AB-DEF", "hs.datXABCDEF", "xhs.dat.ABCDEF", "cfg.dat.ABCDEF"}) {
    put(dir / name, "not ours");
    age(dir / name, stale);
  }
  const bool root = geteuid() == 0;
  if (root) {  // only root can give a file away
    put(dir / "hs.dat.Other1", "theirs");
    ASSERT_EQ(chown((dir / "hs.dat.Other1").c_str(), 65534, 65534), 0);
    age(dir / "hs.dat.Other1", stale);
  }
  const std::set<std::string> kept_before = [&] {
    std::set<std::string> names = names_in(dir);
    names.erase("hs.dat.AbC123");
    names.erase("hs.dat.zz9ZZ9");
    return names;
  }();

  ASSERT_EQ(replace_file(target.c_str(), "new", 3), Replaced::Done);
  EXPECT_EQ(names_in(dir), kept_before);
  EXPECT_EQ(read_file(target), "new");
  EXPECT_EQ(read_file(dir / "elsewhere"), "keep");
  fs::remove_all(dir);
}

// A save stopped by SIGKILL wherever it is: at a random moment, and (so that some surely do)
// while its new file is being flushed, before the rename.
struct KillLoop {
  int kills = 0, litter = 0;
};

// Flushing that tells the parent and waits to be killed.
int write_end_fd = -1;
int stop_in_fsync(int) {
  const char c = 'f';
  if (::write(write_end_fd, &c, 1)) {
  }
  for (;;) pause();
}

KillLoop kill_saves(const fs::path& target, const std::vector<std::string>& tables, int kills) {
  std::mt19937 rng(34);
  KillLoop loop;
  for (; loop.kills < kills; ++loop.kills) {
    const bool in_fsync = loop.kills % 4 == 0;
    int ready[2];
    if (pipe(ready) != 0) break;
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
      close(ready[0]);
      write_end_fd = ready[1];
      if (in_fsync) save_steps.fsync = stop_in_fsync;
      const char c = 'r';
      if (::write(ready[1], &c, 1)) {
      }
      for (std::size_t i = 0;; ++i) replace_file(target.c_str(), tables[i % tables.size()].data(), tables[i % tables.size()].size());
    }
    close(ready[1]);
    char c = 0;
    // Ready to save; in the flush, on the second byte.
    for (int bytes = in_fsync ? 2 : 1; bytes > 0 && read(ready[0], &c, 1) == 1; --bytes) {
    }
    if (!in_fsync) std::this_thread::sleep_for(std::chrono::microseconds(rng() % 3000));
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    close(ready[0]);
    const std::string now = read_file(target);
    EXPECT_TRUE(std::count(tables.begin(), tables.end(), now)) << "kill " << loop.kills << ": the table is not whole";
  }
  for (const auto& entry : fs::directory_iterator(target.parent_path()))
    loop.litter += entry.path().filename().string().rfind("hs.dat.", 0) == 0;
  return loop;
}

TEST(SafeSave, OneSaveAfterAHundredKilledSavesLeavesTheTableWholeAndNoTempFile) {
  const fs::path dir = fresh_temp_dir("safe_save_kills");
  const fs::path target = dir / "hs.dat";
  const std::vector<std::string> tables = {std::string(300, 'a'), std::string(200, 'b') + "\r\n"};
  put(target, tables[0]);
  const KillLoop loop = kill_saves(target, tables, 100);
  std::cout << loop.kills << " saves killed: " << loop.litter << " temporary files left\n";
  EXPECT_GE(loop.litter, 25);  // every fourth was killed in its flush
  // Later (as the next start would be): the next save clears them.
  for (const auto& entry : fs::directory_iterator(dir)) age(entry.path(), kStaleTempSeconds + 1);
  ASSERT_EQ(replace_file(target.c_str(), tables[1].data(), tables[1].size()), Replaced::Done);
  EXPECT_EQ(names_in(dir), std::set<std::string>{"hs.dat"});
  EXPECT_EQ(read_file(target), tables[1]);
  fs::remove_all(dir);
}

}  // namespace
