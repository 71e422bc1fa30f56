// The workers' loop: claim, replay, judge, store once.
#include "workers.h"

#include <chrono>
#include <cstdio>

#include <nlohmann/json.hpp>

#include "names.h"

std::int64_t now_ms() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
      .count();
}

Workers::Workers(std::function<std::unique_ptr<Db>()> connect, const WorkerOptions& options) : connect_(connect), options_(options) {}

Workers::~Workers() { drain(); }

void Workers::start() {
  for (int i = 0; i < options_.count; ++i) threads_.emplace_back([this, i] { run(i); });
}

void Workers::poke() {
  {
    std::lock_guard<std::mutex> hold(mutex_);
    ++pokes_;
  }
  wake_.notify_one();
}

void Workers::drain() {
  stopping_ = true;
  wake_.notify_all();
  for (std::thread& t : threads_)
    if (t.joinable()) t.join();
  threads_.clear();
}

Verdict Workers::judge(const Job& job, const VerifyRun& run) {
  Verdict v;
  v.verify_ms = static_cast<std::int64_t>(run.seconds * 1000.0);
  v.verify_cpu_ms = static_cast<std::int64_t>(run.cpu_seconds * 1000.0);
  if (run.end == VerifyRun::End::OverCpu) {
    v.reason = "the replay took more than " + std::to_string(options_.limits.cpu_seconds) + " CPU seconds";
    return v;
  }
  if (run.end != VerifyRun::End::Answered) {
    v.reason = "the verifier failed (" + run.detail + ")";
    return v;
  }
  const nlohmann::json answer = nlohmann::json::parse(run.json, nullptr, false);
  if (answer.is_discarded() || !answer.is_object() || !answer.contains("ok")) {
    v.reason = "the verifier gave no answer";
    return v;
  }
  if (!answer.value("ok", false)) {
    v.reason = answer.value("reason", std::string("refused"));
    return v;
  }
  if (answer.value("runner_made", true) && !options_.accept_runner_recordings) {
    v.reason = "made by the headless runner, not played";
    return v;
  }
  const double seconds = answer.value("seconds", 0.0);
  if (job.has_ticket) {
    // The ticket's origin seeds the game: another origin is a game not started from it.
    if (answer.value("origin", -1.0) != static_cast<double>(job.ticket_origin)) {
      v.reason = "the recording does not start from its ticket's clock origin";
      return v;
    }
    // The round is seeded by the clock as it starts: started late, it could have a seed
    // chosen from many tried offline.
    const double start = answer.value("round_start", -1.0);
    if (start < 0.0 || start > kTicketRoundStartSeconds) {
      v.reason = "the round did not start within " + std::to_string(kTicketRoundStartSeconds) +
                 " seconds of the ticket's clock origin";
      return v;
    }
    // Real time since the ticket must cover the game's own: no game played slowed down. The
    // runner's clock is virtual: a test server may be told to take its games anyway.
    const bool virtual_clock = options_.accept_runner_recordings && options_.runner_tickets_any_age &&
                               answer.value("runner_made", false);
    if (!virtual_clock && static_cast<double>(job.received_ms - job.ticket_issued_ms) < seconds * 1000.0) {
      v.reason = "the ticket is younger than the recorded game";
      return v;
    }
  }
  std::string name = answer.value("name", std::string());
  if (name.empty()) name = job.sent_name;
  if (name.empty()) name = "PLAYER";
  if (!valid_player_name(name)) {
    v.reason = "the name has characters other than letters and digits";
    return v;
  }
  v.verified = true;
  v.score = answer.value("score", std::int64_t{0});
  v.name = name;
  v.seconds = seconds;
  v.ranked = job.has_ticket;
  return v;
}

void Workers::run(int index) {
  std::unique_ptr<Db> db;
  try {
    db = connect_();
  } catch (const DbError& e) {
    std::fprintf(stderr, "torvane-scores: worker %d: %s\n", index, e.what());
    return;
  }
  Store store(*db);
  const std::string me = options_.name + "/" + std::to_string(index);
  while (!stopping_) {
    std::optional<Job> job;
    try {
      job = store.claim(me, now_ms(), options_.lease_ms);
    } catch (const DbError& e) {
      std::fprintf(stderr, "torvane-scores: %s: %s\n", me.c_str(), e.what());
    }
    if (!job) {
      std::unique_lock<std::mutex> hold(mutex_);
      wake_.wait_for(hold, std::chrono::milliseconds(500), [&] { return stopping_ || pokes_ > 0; });
      if (pokes_ > 0) --pokes_;
      continue;
    }
    try {
      const std::optional<std::string> bytes = store.recording(job->game);
      std::int64_t renewed = now_ms();
      const VerifyRun run = run_verifier(options_.limits, bytes.value_or(""), [&] {
        if (now_ms() - renewed < options_.lease_ms / 3) return;
        renewed = now_ms();
        store.renew(*job, me, renewed + options_.lease_ms);
      });
      if (run.end == VerifyRun::End::Interrupted && job->attempts < options_.max_attempts) {
        std::fprintf(stderr, "torvane-scores: game %lld: verification interrupted (%s), queued again\n",
                     static_cast<long long>(job->game), run.detail.c_str());
        store.release(*job, me);
        continue;
      }
      store.finish(*job, me, judge(*job, run), now_ms());
    } catch (const DbError& e) {
      // The job stays claimed; its lease runs out and another worker takes it.
      std::fprintf(stderr, "torvane-scores: %s: %s\n", me.c_str(), e.what());
    }
  }
}
