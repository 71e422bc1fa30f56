#pragma once
// The scores' storage over either database: games with their recordings, the queue of jobs
// (in the database, so a killed worker or server loses nothing), and tickets.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "db.h"

struct Submission {
  std::string hash;       // SHA-256 of the bytes, hex
  std::string bytes;
  std::string sent_name;  // "" when none was sent
  std::string ticket;     // "" when none
  std::string client;     // the sender's address
  std::int64_t now_ms = 0;
};

struct SubmitResult {
  std::int64_t id = 0;
  bool existing = false;     // the same bytes were sent before
  std::string status;        // of the game with that id
  std::string ticket_error;  // the ticket is unknown, used or expired: nothing was stored
};

struct Job {
  std::int64_t game = 0;
  int attempts = 0;  // including this one
  std::string sent_name;
  bool has_ticket = false;
  std::int64_t ticket_origin = 0;
  std::int64_t ticket_issued_ms = 0;
  std::int64_t received_ms = 0;
};

struct Verdict {
  bool verified = false;
  std::string reason;  // rejected
  std::int64_t score = 0;
  std::string name;
  double seconds = 0.0;
  bool ranked = false;
  std::int64_t verify_ms = 0;      // wall time of the replay
  std::int64_t verify_cpu_ms = 0;  // its CPU time
};

struct GameRow {
  std::int64_t id = 0;
  std::string status;  // queued, verified, rejected
  std::string reason;
  std::int64_t score = 0;
  std::string name;
  double seconds = 0.0;
  bool ranked = false;
  std::int64_t received_ms = 0;
  std::int64_t verified_ms = 0;
  int verifications = 0;
  std::string worker;
};

struct Ticket {
  std::string id;
  std::int64_t origin = 0;
  std::int64_t issued_ms = 0;
};

struct Counts {
  std::int64_t queued = 0, running = 0, verified = 0, rejected = 0;
  double verify_seconds_sum = 0.0, verify_cpu_seconds_sum = 0.0;
};

class Store {
 public:
  explicit Store(Db& db) : db_(db) {}

  // Brings the schema to the newest version; each step runs once, in its own transaction.
  void migrate();
  int schema_version();

  SubmitResult submit(const Submission& s, std::int64_t ticket_max_age_ms);
  // The next job for this worker: a queued one, or one whose worker's lease ran out.
  std::optional<Job> claim(const std::string& worker, std::int64_t now_ms, std::int64_t lease_ms);
  // False when the job is no longer this worker's (its lease ran out and another took it).
  bool renew(const Job& job, const std::string& worker, std::int64_t until_ms);
  // Back to the queue (the verification could not run to an answer).
  void release(const Job& job, const std::string& worker);
  // Stores the answer once: false (and nothing written) when the job is no longer this worker's.
  bool finish(const Job& job, const std::string& worker, const Verdict& verdict, std::int64_t now_ms);
  // A single server starting up: jobs left running by its previous life go back to the queue.
  int requeue_running();

  std::optional<GameRow> game(std::int64_t id);
  std::optional<std::string> recording(std::int64_t id);
  // Best verified games first; since_ms > 0 keeps those verified since then.
  std::vector<GameRow> table(bool ranked, std::int64_t since_ms, int limit, int offset);
  Ticket issue_ticket(const std::string& id, std::int64_t origin, std::int64_t now_ms);
  Counts counts();
  std::int64_t queue_length();

 private:
  Db& db_;
};
