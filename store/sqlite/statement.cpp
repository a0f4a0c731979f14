#include "store/sqlite/statement.h"

namespace quarn::store {

Statement::Statement(sqlite3* db, std::string_view sql) {
  sqlite3_stmt* prepared = nullptr;
  if (sqlite3_prepare_v3(db, sql.data(), static_cast<int>(sql.size()), SQLITE_PREPARE_PERSISTENT,
                         &prepared, nullptr) == SQLITE_OK) {
    statement_.reset(prepared);
  }
}

Statement& Statement::Bind(int index, std::int64_t value) {
  sqlite3_bind_int64(statement_.get(), index, value);
  return *this;
}

Statement& Statement::BindBytes(int index, std::string_view bytes) {
  // A zero-length blob binds as an empty blob, never as NULL.
  sqlite3_bind_blob64(statement_.get(), index, bytes.empty() ? "" : bytes.data(), bytes.size(),
                      SQLITE_TRANSIENT);
  return *this;
}

Statement& Statement::BindText(int index, std::string_view text) {
  sqlite3_bind_text64(statement_.get(), index, text.data(), text.size(), SQLITE_TRANSIENT,
                      SQLITE_UTF8);
  return *this;
}

Statement::Step Statement::Next() {
  if (!statement_) return Step::Failed;
  switch (sqlite3_step(statement_.get())) {
    case SQLITE_ROW:
      return Step::Row;
    case SQLITE_DONE:
      return Step::Done;
    default:
      return Step::Failed;
  }
}

bool Statement::Run() {
  Step step = Next();
  while (step == Step::Row) step = Next();
  Reset();
  return step == Step::Done;
}

void Statement::Reset() {
  if (!statement_) return;
  sqlite3_reset(statement_.get());
  sqlite3_clear_bindings(statement_.get());
}

std::int64_t Statement::Int(int column) const {
  return sqlite3_column_int64(statement_.get(), column);
}

std::string Statement::Bytes(int column) const {
  const void* data = sqlite3_column_blob(statement_.get(), column);
  const int size = sqlite3_column_bytes(statement_.get(), column);
  if (data == nullptr || size <= 0) return {};
  return {static_cast<const char*>(data), static_cast<std::size_t>(size)};
}

}  // namespace quarn::store
