// The database behind --db: a postgres:// or postgresql:// URI names a
// PostgreSQL database that many servers may share; anything else is a SQLite
// file that this server alone holds.
#pragma once

#include <memory>
#include <string>

#include "store/game_store.h"

namespace quarn::server {

struct OpenedDatabase {
  std::unique_ptr<store::GameDatabase> database;
  std::string error;  // when database is null
};

OpenedDatabase OpenDatabase(const std::string& where);

}  // namespace quarn::server
