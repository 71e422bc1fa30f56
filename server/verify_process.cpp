// One verifier process per recording: the recording goes in as an in-memory file, the answer
// comes back through a pipe; the child dies with the server (PR_SET_PDEATHSIG).
#include "verify_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

bool write_all(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

VerifyRun run_verifier(const VerifyLimits& limits, const std::string& recording, const std::function<void()>& tick) {
  VerifyRun run;
  const auto started = std::chrono::steady_clock::now();
  const int input = memfd_create("recording", MFD_CLOEXEC);
  int out[2] = {-1, -1};
  if (input < 0 || !write_all(input, recording) || ::lseek(input, 0, SEEK_SET) != 0 || pipe2(out, O_CLOEXEC) != 0) {
    if (input >= 0) ::close(input);
    run.detail = std::string("cannot set up the verifier: ") + std::strerror(errno);
    run.end = VerifyRun::End::Interrupted;
    return run;
  }
  const std::string frames = std::to_string(limits.max_frames);
  const pid_t pid = fork();
  if (pid == 0) {
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    // Past its CPU seconds the process gets SIGXCPU, and SIGKILL a second later.
    const rlimit cpu{static_cast<rlim_t>(limits.cpu_seconds), static_cast<rlim_t>(limits.cpu_seconds + 1)};
    setrlimit(RLIMIT_CPU, &cpu);
    const rlimit no_core{0, 0};
    setrlimit(RLIMIT_CORE, &no_core);
    dup2(input, 0);
    dup2(out[1], 1);
    const int devnull = ::open("/dev/null", O_WRONLY);
    if (devnull >= 0) dup2(devnull, 2);
    // Nothing of the server's (its listening socket, its clients' connections, the database)
    // goes on into the verifier.
    close_range(3, ~0U, 0);
    if (chdir("/") != 0) _exit(126);
    execl(limits.verifier.c_str(), limits.verifier.c_str(), "--max-frames", frames.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  ::close(input);
  ::close(out[1]);
  if (pid < 0) {
    ::close(out[0]);
    run.detail = std::string("cannot start the verifier: ") + std::strerror(errno);
    run.end = VerifyRun::End::Interrupted;
    return run;
  }

  bool killed_for_time = false;
  for (;;) {
    pollfd p{out[0], POLLIN, 0};
    const int ready = poll(&p, 1, 1000);
    if (ready > 0) {
      char buffer[4096];
      const ssize_t n = ::read(out[0], buffer, sizeof buffer);
      if (n > 0 && run.json.size() < 65536) run.json.append(buffer, static_cast<std::size_t>(n));
      if (n == 0) break;
      if (n < 0 && errno != EINTR && errno != EAGAIN) break;
    }
    if (tick) tick();
    if (!killed_for_time && std::chrono::steady_clock::now() - started > std::chrono::seconds(limits.wall_seconds)) {
      killed_for_time = true;
      kill(pid, SIGKILL);
    }
  }
  ::close(out[0]);
  int status = 0;
  rusage usage{};
  while (wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
  }
  run.cpu_seconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                    static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

  if (WIFSIGNALED(status)) {
    const int sig = WTERMSIG(status);
    if (sig == SIGXCPU) run.end = VerifyRun::End::OverCpu;
    else if (sig == SIGKILL) run.end = VerifyRun::End::Interrupted;
    else run.end = VerifyRun::End::Crashed;
    run.detail = std::string("signal ") + strsignal(sig);
    return run;
  }
  if (killed_for_time) {
    run.end = VerifyRun::End::Interrupted;
    return run;
  }
  const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  if (code == 0 && !run.json.empty()) {
    run.end = VerifyRun::End::Answered;
  } else {
    run.end = VerifyRun::End::Crashed;
    run.detail = "exit status " + std::to_string(code);
  }
  return run;
}
