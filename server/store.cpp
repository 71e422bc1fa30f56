// The score store's statements, written once for SQLite and PostgreSQL.
#include "store.h"

#include <string_view>

namespace {

// Each migration is run once, in order; the schema's version is the number of them applied.
// {ID} {INT} {REAL} {BLOB} stand for the dialect's types.
const std::vector<std::vector<std::string_view>> kMigrations = {
    {
        "CREATE TABLE games ("
        " id {ID},"
        " hash TEXT NOT NULL UNIQUE,"
        " recording {BLOB} NOT NULL,"
        " status TEXT NOT NULL,"
        " reason TEXT,"
        " score {INT},"
        " name TEXT,"
        " sent_name TEXT,"
        " seconds {REAL},"
        " ranked INTEGER NOT NULL DEFAULT 0,"
        " ticket TEXT,"
        " client TEXT,"
        " received_ms {INT} NOT NULL,"
        " verified_ms {INT},"
        " verify_ms {INT},"
        " verifications INTEGER NOT NULL DEFAULT 0,"
        " worker TEXT)",
        "CREATE TABLE jobs ("
        " game {INT} PRIMARY KEY REFERENCES games(id),"
        " state TEXT NOT NULL,"
        " attempts INTEGER NOT NULL DEFAULT 0,"
        " worker TEXT,"
        " lease_until {INT})",
        "CREATE TABLE tickets ("
        " id TEXT PRIMARY KEY,"
        " origin {INT} NOT NULL,"
        " issued_ms {INT} NOT NULL,"
        " used_by {INT})",
    },
    {
        "CREATE INDEX games_best ON games(status, ranked, score DESC)",
        "CREATE INDEX jobs_state ON jobs(state, game)",
    },
    {
        "ALTER TABLE games ADD COLUMN verify_cpu_ms {INT}",
    },
};

std::string with_types(std::string_view text, Dialect dialect) {
  const bool pg = dialect == Dialect::Postgres;
  const std::pair<std::string_view, std::string_view> types[] = {
      {"{ID}", pg ? "BIGSERIAL PRIMARY KEY" : "INTEGER PRIMARY KEY AUTOINCREMENT"},
      {"{INT}", pg ? "BIGINT" : "INTEGER"},
      {"{REAL}", pg ? "DOUBLE PRECISION" : "REAL"},
      {"{BLOB}", pg ? "BYTEA" : "BLOB"},
  };
  std::string out(text);
  for (const auto& [from, to] : types)
    for (std::size_t at = out.find(from); at != std::string::npos; at = out.find(from, at + to.size()))
      out.replace(at, from.size(), to);
  return out;
}

std::int64_t as_int(const std::optional<std::string>& v) { return v ? std::stoll(*v) : 0; }
double as_real(const std::optional<std::string>& v) { return v ? std::stod(*v) : 0.0; }
std::string as_text(const std::optional<std::string>& v) { return v ? *v : std::string(); }

constexpr const char* kGameColumns =
    "id, status, reason, score, name, seconds, ranked, received_ms, verified_ms, verifications, worker";

GameRow game_from(const DbRow& r) {
  GameRow g;
  g.id = as_int(r[0]);
  g.status = as_text(r[1]);
  g.reason = as_text(r[2]);
  g.score = as_int(r[3]);
  g.name = as_text(r[4]);
  g.seconds = as_real(r[5]);
  g.ranked = as_int(r[6]) != 0;
  g.received_ms = as_int(r[7]);
  g.verified_ms = as_int(r[8]);
  g.verifications = static_cast<int>(as_int(r[9]));
  g.worker = as_text(r[10]);
  return g;
}

}  // namespace

void Store::migrate() {
  {
    Transaction tx(db_);
    tx.query("CREATE TABLE IF NOT EXISTS schema_migrations (version INTEGER PRIMARY KEY, applied_ms BIGINT)");
    tx.commit();
  }
  for (std::size_t version = 1; version <= kMigrations.size(); ++version) {
    Transaction tx(db_);
    // Several servers may start at once on one PostgreSQL: one migrates, the others wait.
    if (tx.dialect() == Dialect::Postgres) tx.query("SELECT pg_advisory_xact_lock(3131)");
    if (!tx.query("SELECT version FROM schema_migrations WHERE version = ?1", {std::int64_t(version)}).empty()) continue;
    for (std::string_view statement : kMigrations[version - 1]) tx.query(with_types(statement, tx.dialect()));
    tx.query("INSERT INTO schema_migrations (version, applied_ms) VALUES (?1, 0)", {std::int64_t(version)});
    tx.commit();
  }
}

int Store::schema_version() {
  Transaction tx(db_);
  const auto rows = tx.query("SELECT COALESCE(MAX(version), 0) FROM schema_migrations");
  tx.commit();
  return static_cast<int>(as_int(rows.at(0)[0]));
}

SubmitResult Store::submit(const Submission& s, std::int64_t ticket_max_age_ms) {
  SubmitResult result;
  Transaction tx(db_);
  auto same = tx.query("SELECT id, status FROM games WHERE hash = ?1", {s.hash});
  if (!same.empty()) {
    result.id = as_int(same[0][0]);
    result.status = as_text(same[0][1]);
    result.existing = true;
    return result;
  }
  if (!s.ticket.empty()) {
    const auto t = tx.query("SELECT issued_ms, used_by FROM tickets WHERE id = ?1", {s.ticket});
    if (t.empty()) result.ticket_error = "unknown ticket";
    else if (t[0][1]) result.ticket_error = "the ticket was already used";
    else if (s.now_ms - as_int(t[0][0]) > ticket_max_age_ms) result.ticket_error = "the ticket has expired";
    if (!result.ticket_error.empty()) return result;
  }
  // Two servers given the same bytes at once: the second finds the first's game.
  auto added = tx.query(
      "INSERT INTO games (hash, recording, status, sent_name, ticket, client, received_ms) "
      "VALUES (?1, ?2, 'queued', ?3, ?4, ?5, ?6) ON CONFLICT (hash) DO NOTHING RETURNING id",
      {s.hash, Blob{s.bytes}, s.sent_name.empty() ? DbValue(nullptr) : DbValue(s.sent_name),
       s.ticket.empty() ? DbValue(nullptr) : DbValue(s.ticket), s.client, s.now_ms});
  if (added.empty()) {
    same = tx.query("SELECT id, status FROM games WHERE hash = ?1", {s.hash});
    result.id = as_int(same.at(0)[0]);
    result.status = as_text(same.at(0)[1]);
    result.existing = true;
    return result;
  }
  result.id = as_int(added[0][0]);
  result.status = "queued";
  if (!s.ticket.empty()) {
    // Taken once: of two games sent with one ticket at the same moment, one gets it.
    if (tx.query("UPDATE tickets SET used_by = ?1 WHERE id = ?2 AND used_by IS NULL RETURNING id",
                 {result.id, s.ticket})
            .empty()) {
      result = SubmitResult{};
      result.ticket_error = "the ticket was already used";
      return result;
    }
  }
  tx.query("INSERT INTO jobs (game, state, attempts) VALUES (?1, 'queued', 0)", {result.id});
  tx.commit();
  return result;
}

std::optional<Job> Store::claim(const std::string& worker, std::int64_t now_ms, std::int64_t lease_ms) {
  Transaction tx(db_);
  // SKIP LOCKED: workers of several servers sharing one PostgreSQL each take another job
  // instead of queueing behind one another's row locks.
  const std::string skip = tx.dialect() == Dialect::Postgres ? " FOR UPDATE SKIP LOCKED" : "";
  const auto taken = tx.query(
      "UPDATE jobs SET state = 'running', worker = ?1, lease_until = ?2, attempts = attempts + 1 "
      "WHERE game = (SELECT game FROM jobs WHERE state = 'queued' OR (state = 'running' AND lease_until < ?3) "
      "ORDER BY game LIMIT 1" + skip + ") RETURNING game, attempts",
      {worker, now_ms + lease_ms, now_ms});
  if (taken.empty()) return std::nullopt;
  Job job;
  job.game = as_int(taken[0][0]);
  job.attempts = static_cast<int>(as_int(taken[0][1]));
  const auto g = tx.query(
      "SELECT g.sent_name, g.received_ms, g.ticket, t.origin, t.issued_ms FROM games g "
      "LEFT JOIN tickets t ON t.id = g.ticket WHERE g.id = ?1",
      {job.game});
  job.sent_name = as_text(g.at(0)[0]);
  job.received_ms = as_int(g[0][1]);
  job.has_ticket = g[0][2].has_value();
  job.ticket_origin = as_int(g[0][3]);
  job.ticket_issued_ms = as_int(g[0][4]);
  tx.commit();
  return job;
}

bool Store::renew(const Job& job, const std::string& worker, std::int64_t until_ms) {
  Transaction tx(db_);
  const bool mine = !tx.query("UPDATE jobs SET lease_until = ?1 WHERE game = ?2 AND worker = ?3 AND state = 'running' "
                              "RETURNING game",
                              {until_ms, job.game, worker})
                         .empty();
  tx.commit();
  return mine;
}

void Store::release(const Job& job, const std::string& worker) {
  Transaction tx(db_);
  tx.query("UPDATE jobs SET state = 'queued', worker = NULL, lease_until = NULL WHERE game = ?1 AND worker = ?2",
           {job.game, worker});
  tx.commit();
}

bool Store::finish(const Job& job, const std::string& worker, const Verdict& v, std::int64_t now_ms) {
  Transaction tx(db_);
  if (tx.query("DELETE FROM jobs WHERE game = ?1 AND worker = ?2 AND state = 'running' RETURNING game",
               {job.game, worker})
          .empty())
    return false;
  tx.query(
      "UPDATE games SET status = ?1, reason = ?2, score = ?3, name = ?4, seconds = ?5, ranked = ?6, verified_ms = ?7, "
      "verify_ms = ?8, verifications = verifications + 1, worker = ?9, verify_cpu_ms = ?11 WHERE id = ?10",
      {std::string(v.verified ? "verified" : "rejected"), v.verified ? DbValue(nullptr) : DbValue(v.reason),
       v.verified ? DbValue(v.score) : DbValue(nullptr), v.verified ? DbValue(v.name) : DbValue(nullptr),
       v.verified ? DbValue(std::to_string(v.seconds)) : DbValue(nullptr), std::int64_t(v.ranked ? 1 : 0), now_ms,
       v.verify_ms, worker, job.game, v.verify_cpu_ms});
  tx.commit();
  return true;
}

int Store::requeue_running() {
  Transaction tx(db_);
  const auto rows = tx.query(
      "UPDATE jobs SET state = 'queued', worker = NULL, lease_until = NULL WHERE state = 'running' RETURNING game");
  tx.commit();
  return static_cast<int>(rows.size());
}

std::optional<GameRow> Store::game(std::int64_t id) {
  Transaction tx(db_);
  const auto rows = tx.query(std::string("SELECT ") + kGameColumns + " FROM games WHERE id = ?1", {id});
  tx.commit();
  if (rows.empty()) return std::nullopt;
  return game_from(rows[0]);
}

std::optional<std::string> Store::recording(std::int64_t id) {
  Transaction tx(db_);
  const auto rows = tx.query("SELECT recording FROM games WHERE id = ?1", {id});
  tx.commit();
  if (rows.empty()) return std::nullopt;
  return as_text(rows[0][0]);
}

std::vector<GameRow> Store::table(bool ranked, std::int64_t since_ms, int limit, int offset) {
  Transaction tx(db_);
  const auto rows = tx.query(std::string("SELECT ") + kGameColumns +
                                 " FROM games WHERE status = 'verified' AND ranked = ?1 AND received_ms >= ?2 "
                                 "ORDER BY score DESC, received_ms ASC, id ASC LIMIT ?3 OFFSET ?4",
                             {std::int64_t(ranked ? 1 : 0), since_ms, std::int64_t(limit), std::int64_t(offset)});
  tx.commit();
  std::vector<GameRow> out;
  for (const DbRow& r : rows) out.push_back(game_from(r));
  return out;
}

Ticket Store::issue_ticket(const std::string& id, std::int64_t origin, std::int64_t now_ms) {
  Transaction tx(db_);
  tx.query("INSERT INTO tickets (id, origin, issued_ms) VALUES (?1, ?2, ?3)", {id, origin, now_ms});
  tx.commit();
  return Ticket{id, origin, now_ms};
}

Counts Store::counts() {
  Transaction tx(db_);
  const auto r = tx.query(
      "SELECT (SELECT COUNT(*) FROM jobs WHERE state = 'queued'), (SELECT COUNT(*) FROM jobs WHERE state = 'running'), "
      "(SELECT COUNT(*) FROM games WHERE status = 'verified'), (SELECT COUNT(*) FROM games WHERE status = 'rejected'), "
      "(SELECT COALESCE(SUM(verify_ms), 0) FROM games), (SELECT COALESCE(SUM(verify_cpu_ms), 0) FROM games)");
  tx.commit();
  Counts c;
  c.queued = as_int(r.at(0)[0]);
  c.running = as_int(r[0][1]);
  c.verified = as_int(r[0][2]);
  c.rejected = as_int(r[0][3]);
  c.verify_seconds_sum = as_real(r[0][4]) / 1000.0;
  c.verify_cpu_seconds_sum = as_real(r[0][5]) / 1000.0;
  return c;
}

std::int64_t Store::queue_length() {
  Transaction tx(db_);
  const auto r = tx.query("SELECT COUNT(*) FROM jobs WHERE state = 'queued'");
  tx.commit();
  return as_int(r.at(0)[0]);
}
