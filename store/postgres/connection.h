// Thin RAII over libpq: one connection that comes back by itself after the
// server restarts (without blocking: each call takes the next step of the
// new connection that the socket is ready for, and fails until it is made),
// and queries whose values always travel as bound
// parameters (statement texts are constants). Results come in binary form:
// numbers are read as big-endian integers, bytes exactly as stored.
#pragma once

#include <libpq-fe.h>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

namespace quarn::store::postgres {

struct ResultClearer {
  void operator()(PGresult* result) const { PQclear(result); }
};

// A query's answer: rows of binary values, or the failure it met.
class Result {
 public:
  explicit Result(PGresult* result) : result_(result) {}
  bool Ok() const;
  int Rows() const { return Ok() ? PQntuples(result_.get()) : 0; }
  std::int64_t Int(int row, int column) const;
  std::string Bytes(int row, int column) const;
  // Rows the command changed (INSERT, UPDATE, DELETE).
  std::int64_t Changed() const;

 private:
  std::unique_ptr<PGresult, ResultClearer> result_;
};

// One parameter: a number (sent as text), bytes (sent as binary, exactly) or
// a value in PostgreSQL's text form (an array literal).
struct Param {
  Param(std::int64_t number) : text(std::to_string(number)) {}
  static Param Raw(std::string_view bytes) { return {std::string(bytes), true}; }
  static Param Text(std::string value) { return {std::move(value), false}; }
  std::string text;
  bool binary = false;

 private:
  Param(std::string value, bool isBinary) : text(std::move(value)), binary(isBinary) {}
};

class Connection {
 public:
  // Connects to `uri` (postgres:// or postgresql://); Error() tells the failure.
  explicit Connection(const std::string& uri);
  bool Ok() const { return conn_ && PQstatus(conn_.get()) == CONNECTION_OK; }
  // Runs one statement. A connection lost since the last call is made again
  // first, outside any transaction; one lost inside a transaction fails it.
  // While the new connection is not made yet, the call fails at once.
  [[nodiscard]] Result Run(std::string_view sql, std::initializer_list<Param> params = {});
  // Ends a transaction that failed midway, if one is open.
  void RollbackIfOpen();
  std::string Error() const;

 private:
  struct Closer {
    void operator()(PGconn* conn) const { PQfinish(conn); }
  };
  // Takes what steps of a new connection the socket allows now; true once made.
  bool Reconnected();

  std::unique_ptr<PGconn, Closer> conn_;
  bool resetting_ = false;
  PostgresPollingStatusType polling_ = PGRES_POLLING_WRITING;
};

}  // namespace quarn::store::postgres
