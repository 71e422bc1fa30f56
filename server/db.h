#pragma once
// The thin seam between the score store and its database: parameterised statements only (no
// value is ever spliced into SQL text), rows of optional strings back. One connection, used by
// one thread at a time through a Transaction.
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

struct Blob {
  std::string bytes;
};
using DbValue = std::variant<std::nullptr_t, std::int64_t, std::string, Blob>;
using DbRow = std::vector<std::optional<std::string>>;

struct DbError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

enum class Dialect { Sqlite, Postgres };

class Db {
 public:
  virtual ~Db() = default;
  // sql uses ?1, ?2 ... for its parameters in both dialects. Blob columns come back as raw bytes.
  virtual std::vector<DbRow> query(const std::string& sql, const std::vector<DbValue>& params = {}) = 0;
  virtual Dialect dialect() const = 0;
  // Statements that open a write transaction.
  virtual const char* begin_sql() const = 0;
  std::mutex& lock() { return lock_; }

 private:
  std::mutex lock_;
};

// "postgresql://..." or "postgres://..." opens PostgreSQL; anything else is an SQLite file.
std::unique_ptr<Db> open_db(const std::string& where);
std::unique_ptr<Db> open_sqlite(const std::string& path);
std::unique_ptr<Db> open_postgres(const std::string& conninfo);

// Holds the connection for one transaction; rolls back unless committed.
class Transaction {
 public:
  explicit Transaction(Db& db) : db_(db), hold_(db.lock()) { db_.query(db_.begin_sql()); }
  ~Transaction() {
    if (!done_) {
      try {
        db_.query("ROLLBACK");
      } catch (const DbError&) {
      }
    }
  }
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  std::vector<DbRow> query(const std::string& sql, const std::vector<DbValue>& params = {}) {
    return db_.query(sql, params);
  }
  void commit() {
    db_.query("COMMIT");
    done_ = true;
  }
  Dialect dialect() const { return db_.dialect(); }

 private:
  Db& db_;
  std::lock_guard<std::mutex> hold_;
  bool done_ = false;
};
