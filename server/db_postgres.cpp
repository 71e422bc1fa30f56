// The PostgreSQL connection through libpq: every statement goes out with its parameters apart
// (PQexecParams), blobs as binary bytea.
#include <libpq-fe.h>

#include <cstdlib>

#include "db.h"

namespace {

// ?1 ?2 ... become $1 $2 ...: the statements are written once for both databases.
std::string dollar_params(const std::string& sql) {
  std::string out;
  out.reserve(sql.size());
  for (char c : sql) out.push_back(c == '?' ? '$' : c);
  return out;
}

std::string unescape_bytea(const char* text) {
  std::size_t size = 0;
  unsigned char* raw = PQunescapeBytea(reinterpret_cast<const unsigned char*>(text), &size);
  if (!raw) throw DbError("postgresql: cannot decode a bytea");
  std::string out(reinterpret_cast<char*>(raw), size);
  PQfreemem(raw);
  return out;
}

class PostgresDb final : public Db {
 public:
  explicit PostgresDb(const std::string& conninfo) : conn_(PQconnectdb(conninfo.c_str())) {
    if (PQstatus(conn_) != CONNECTION_OK) {
      const std::string message = PQerrorMessage(conn_);
      PQfinish(conn_);
      throw DbError("cannot connect to PostgreSQL: " + message);
    }
    query("SET client_min_messages TO WARNING", {});
  }
  ~PostgresDb() override { PQfinish(conn_); }

  std::vector<DbRow> query(const std::string& sql, const std::vector<DbValue>& params) override {
    std::vector<std::string> texts(params.size());
    std::vector<const char*> values(params.size(), nullptr);
    std::vector<int> lengths(params.size(), 0), formats(params.size(), 0);
    for (std::size_t i = 0; i < params.size(); ++i) {
      const DbValue& v = params[i];
      if (std::holds_alternative<std::int64_t>(v)) {
        texts[i] = std::to_string(std::get<std::int64_t>(v));
      } else if (std::holds_alternative<std::string>(v)) {
        texts[i] = std::get<std::string>(v);
      } else if (std::holds_alternative<Blob>(v)) {
        texts[i] = std::get<Blob>(v).bytes;
        formats[i] = 1;
      } else {
        continue;  // NULL
      }
      values[i] = texts[i].data();
      lengths[i] = static_cast<int>(texts[i].size());
    }
    PGresult* res = PQexecParams(conn_, dollar_params(sql).c_str(), static_cast<int>(params.size()), nullptr,
                                 values.data(), lengths.data(), formats.data(), 0);
    const ExecStatusType status = PQresultStatus(res);
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
      const std::string message = PQresultErrorMessage(res);
      PQclear(res);
      // A lost connection is tried once more on the next statement.
      if (PQstatus(conn_) == CONNECTION_BAD) PQreset(conn_);
      throw DbError("postgresql: " + message);
    }
    std::vector<DbRow> rows;
    const int n = PQntuples(res), columns = PQnfields(res);
    for (int r = 0; r < n; ++r) {
      DbRow row;
      for (int c = 0; c < columns; ++c) {
        if (PQgetisnull(res, r, c)) {
          row.emplace_back(std::nullopt);
        } else if (PQftype(res, c) == kByteaOid) {
          row.emplace_back(unescape_bytea(PQgetvalue(res, r, c)));
        } else {
          row.emplace_back(std::string(PQgetvalue(res, r, c), static_cast<std::size_t>(PQgetlength(res, r, c))));
        }
      }
      rows.push_back(std::move(row));
    }
    PQclear(res);
    return rows;
  }
  Dialect dialect() const override { return Dialect::Postgres; }
  const char* begin_sql() const override { return "BEGIN"; }

 private:
  static constexpr Oid kByteaOid = 17;
  PGconn* conn_;
};

}  // namespace

std::unique_ptr<Db> open_postgres(const std::string& conninfo) { return std::make_unique<PostgresDb>(conninfo); }
