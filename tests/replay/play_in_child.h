#pragma once
// A recording played through the real player on the headless backend, in a child process:
// each play starts from the game's fresh globals, and a crash ends the child, not the tests.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>

#include "app/startup.h"
#include "headless/headless_platform.h"
#include "replay/replay_player.h"

struct ChildEnd {
  int exit_code = -1;  // -1 when a signal ended it
  int signal = 0;
};

// The exit codes a replay may end with: the game's own (0, 1) and a divergence (3).
inline bool ended_soundly(const ChildEnd& end) {
  return end.exit_code == 0 || end.exit_code == 1 || end.exit_code == kReplayDivergedExit;
}

// The child's stderr (the player's messages, a sanitizer's report) goes to err_path.
inline ChildEnd play_in_child(const ReplayData& data, const char* err_path, unsigned seconds_limit = 120) {
  std::fflush(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    const int err = ::open(err_path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (err >= 0) dup2(err, 2);
    alarm(seconds_limit);  // a game that never ends is a fault too
    HeadlessPlatform backend(1000.0);
    ReplayPlayer player(backend, data, false, "replay");
    platform_install(&player);
    _exit(main_flow(0, nullptr));
  }
  ChildEnd end;
  if (pid < 0) return end;  // no child to play in: reported as ending unsoundly
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return end;
  }
  if (WIFEXITED(status)) end.exit_code = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) end.signal = WTERMSIG(status);
  return end;
}
