// The SQLite connection: a single file, write-ahead logged so readers never wait on a write.
#include <sqlite3.h>

#include "db.h"

namespace {

class SqliteDb final : public Db {
 public:
  explicit SqliteDb(const std::string& path) {
    if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                        nullptr) != SQLITE_OK) {
      const std::string message = db_ ? sqlite3_errmsg(db_) : "out of memory";
      sqlite3_close(db_);
      throw DbError("cannot open " + path + ": " + message);
    }
    sqlite3_busy_timeout(db_, 10000);
    query("PRAGMA journal_mode=WAL", {});
    query("PRAGMA synchronous=FULL", {});
    query("PRAGMA foreign_keys=ON", {});
  }
  ~SqliteDb() override { sqlite3_close(db_); }

  std::vector<DbRow> query(const std::string& sql, const std::vector<DbValue>& params) override {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &stmt, nullptr) != SQLITE_OK)
      throw DbError(std::string("sqlite: ") + sqlite3_errmsg(db_));
    for (std::size_t i = 0; i < params.size(); ++i) {
      const int at = static_cast<int>(i + 1);
      const DbValue& v = params[i];
      if (std::holds_alternative<std::int64_t>(v)) {
        sqlite3_bind_int64(stmt, at, std::get<std::int64_t>(v));
      } else if (std::holds_alternative<std::string>(v)) {
        const std::string& s = std::get<std::string>(v);
        sqlite3_bind_text(stmt, at, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
      } else if (std::holds_alternative<Blob>(v)) {
        const std::string& s = std::get<Blob>(v).bytes;
        sqlite3_bind_blob(stmt, at, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
      } else {
        sqlite3_bind_null(stmt, at);
      }
    }
    std::vector<DbRow> rows;
    for (;;) {
      const int rc = sqlite3_step(stmt);
      if (rc == SQLITE_DONE) break;
      if (rc != SQLITE_ROW) {
        const std::string message = sqlite3_errmsg(db_);
        sqlite3_finalize(stmt);
        throw DbError("sqlite: " + message);
      }
      DbRow row;
      const int columns = sqlite3_column_count(stmt);
      for (int c = 0; c < columns; ++c) {
        if (sqlite3_column_type(stmt, c) == SQLITE_NULL) {
          row.emplace_back(std::nullopt);
          continue;
        }
        const void* data = sqlite3_column_type(stmt, c) == SQLITE_BLOB ? sqlite3_column_blob(stmt, c)
                                                                         : sqlite3_column_text(stmt, c);
        const int size = sqlite3_column_bytes(stmt, c);
        row.emplace_back(std::string(static_cast<const char*>(data), static_cast<std::size_t>(size)));
      }
      rows.push_back(std::move(row));
    }
    sqlite3_finalize(stmt);
    return rows;
  }
  Dialect dialect() const override { return Dialect::Sqlite; }
  // IMMEDIATE: the write lock is taken at the start, so two writers never deadlock upgrading.
  const char* begin_sql() const override { return "BEGIN IMMEDIATE"; }

 private:
  sqlite3* db_ = nullptr;
};

}  // namespace

std::unique_ptr<Db> open_sqlite(const std::string& path) { return std::make_unique<SqliteDb>(path); }

std::unique_ptr<Db> open_db(const std::string& where) {
  if (where.rfind("postgresql://", 0) == 0 || where.rfind("postgres://", 0) == 0) return open_postgres(where);
  return open_sqlite(where);
}
