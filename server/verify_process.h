#pragma once
// Runs the verifier on one recording in a process of its own, under a CPU-seconds limit, and
// reads back its one JSON line.
#include <chrono>
#include <functional>
#include <string>

struct VerifyLimits {
  std::string verifier;      // the torvane-verify executable
  int cpu_seconds = 60;      // RLIMIT_CPU of the process
  long max_frames = 60000;   // pages the replay may show
  int wall_seconds = 600;    // a process still running after this is killed and tried again
};

struct VerifyRun {
  enum class End {
    Answered,     // the verifier printed its line (json)
    OverCpu,      // killed by its CPU limit
    Crashed,      // ended by another signal of its own or without an answer
    Interrupted,  // killed from outside (SIGKILL) or over the wall time: worth another try
  } end = End::Crashed;
  std::string json;
  std::string detail;  // for Crashed: the exit status or signal
  double seconds = 0.0;      // wall time
  double cpu_seconds = 0.0;  // the verifier's own, user and system
};

// tick is called every second or so while the process runs (the worker renews its lease).
VerifyRun run_verifier(const VerifyLimits& limits, const std::string& recording, const std::function<void()>& tick);
