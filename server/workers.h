#pragma once
// The verification workers: threads that each take a job from the database, replay it in a
// verifier process and store the answer. Draining stops them taking new jobs; the jobs they
// hold run to their answer.
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "store.h"
#include "verify_process.h"

// A ranked game's round starts this soon after its ticket's clock origin.
inline constexpr int kTicketRoundStartSeconds = 30;

struct WorkerOptions {
  int count = 1;
  VerifyLimits limits;
  std::int64_t lease_ms = 30000;
  int max_attempts = 3;
  bool accept_runner_recordings = false;
  bool runner_tickets_any_age = false;
  std::string name;  // this server's part of the worker names
};

class Workers {
 public:
  // connect opens each worker's own database connection.
  Workers(std::function<std::unique_ptr<Db>()> connect, const WorkerOptions& options);
  ~Workers();
  void start();
  // Wakes an idle worker: a job was queued.
  void poke();
  // No new jobs; returns once every job in hand has its answer.
  void drain();

 private:
  void run(int index);
  Verdict judge(const Job& job, const VerifyRun& run);

  std::function<std::unique_ptr<Db>()> connect_;
  WorkerOptions options_;
  std::vector<std::thread> threads_;
  std::atomic<bool> stopping_{false};
  std::mutex mutex_;
  std::condition_variable wake_;
  unsigned pokes_ = 0;
};

std::int64_t now_ms();
