// Thin RAII over the SQLite C library: a connection and its prepared
// statements. Every value reaches SQL through a bound parameter; statement
// texts are constants.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace quarn::store {

struct ConnectionCloser {
  void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
using Connection = std::unique_ptr<sqlite3, ConnectionCloser>;

class Statement {
 public:
  enum class Step : std::uint8_t { Row, Done, Failed };

  Statement() = default;
  // Prepares `sql` (one statement); Ok() tells whether it could be.
  Statement(sqlite3* db, std::string_view sql);
  bool Ok() const { return statement_ != nullptr; }

  Statement& Bind(int index, std::int64_t value);
  // Bytes as a blob, compared exactly (names: NUL and any byte included).
  Statement& BindBytes(int index, std::string_view bytes);
  Statement& BindText(int index, std::string_view text);
  [[nodiscard]] Step Next();
  // Runs a statement that returns no rows it needs; true when it finished.
  [[nodiscard]] bool Run();
  // Ready to run again, its parameters cleared.
  void Reset();

  std::int64_t Int(int column) const;
  std::string Bytes(int column) const;

 private:
  struct Finalizer {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
  };
  std::unique_ptr<sqlite3_stmt, Finalizer> statement_;
};

// Resets a statement when the scope that ran it ends, whatever happened.
class ResetOnExit {
 public:
  explicit ResetOnExit(Statement& statement) : statement_(statement) {}
  ~ResetOnExit() { statement_.Reset(); }
  ResetOnExit(const ResetOnExit&) = delete;
  ResetOnExit& operator=(const ResetOnExit&) = delete;

 private:
  Statement& statement_;
};

}  // namespace quarn::store
