#include "server/daemon/open_database.h"

#include "store/postgres/postgres_database.h"
#include "store/sqlite/sqlite_database.h"

namespace quarn::server {

OpenedDatabase OpenDatabase(const std::string& where) {
  if (store::IsPostgresUri(where)) {
    auto opened = store::PostgresDatabase::Open(where);
    return {std::move(opened.database), std::move(opened.error)};
  }
  auto opened = store::SqliteDatabase::Open(where);
  return {std::move(opened.database), std::move(opened.error)};
}

}  // namespace quarn::server
