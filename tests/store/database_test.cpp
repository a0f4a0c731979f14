// The databases, SQLite and PostgreSQL alike: games written whole and read
// back equal, standings as the sum of the games, names kept byte for byte.
// Then what each refuses: SQLite files, and PostgreSQL going away under the
// holding store.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "store/holding_store.h"
#include "store/postgres/postgres_database.h"
#include "store/sqlite/sqlite_database.h"
#include "tests/support/files.h"
#include "tests/support/store/sample_game.h"
#include "tests/support/store/scratch_postgres.h"

namespace quarn::store {
namespace {

using testing::SampleGame;
using testing::ScratchPostgres;
namespace fs = std::filesystem;

// Each case on a fresh database of each backend.
enum class Backend { Sqlite, Postgres };
const char* NameOf(Backend backend) {
  return backend == Backend::Sqlite ? "Sqlite" : "Postgres";
}
void PrintTo(Backend backend, std::ostream* out) {
  *out << NameOf(backend);
}

class DatabaseTest : public ::testing::TestWithParam<Backend> {
 protected:
  void SetUp() override {
    if (GetParam() == Backend::Postgres) {
      postgres_ = std::make_unique<ScratchPostgres>(std::to_string(::getpid()));
      if (postgres_->Missing()) GTEST_SKIP() << "PostgreSQL is not installed (Debian postgresql)";
      ASSERT_NE(postgres_->Uri(), "");
      auto opened = PostgresDatabase::Open(postgres_->Uri());
      ASSERT_EQ(opened.error, "");
      database_ = std::move(opened.database);
    } else {
      auto opened = SqliteDatabase::Open(dir_.path() / "games.db");
      ASSERT_EQ(opened.error, "");
      database_ = std::move(opened.database);
    }
  }
  std::unique_ptr<ScratchPostgres> postgres_;
  test::TempDir dir_;
  std::unique_ptr<GameDatabase> database_;
};

INSTANTIATE_TEST_SUITE_P(Backends, DatabaseTest,
                         ::testing::Values(Backend::Sqlite, Backend::Postgres),
                         [](const auto& param) { return NameOf(param.param); });

class SqliteTest : public ::testing::Test {
 protected:
  std::unique_ptr<SqliteDatabase> OpenOk() {
    auto opened = SqliteDatabase::Open(file_);
    EXPECT_EQ(opened.error, "");
    return std::move(opened.database);
  }
  // Runs one statement on the file with a connection of the test's own.
  void Poke(const char* sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file_.c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
  }

  test::TempDir dir_;
  fs::path file_ = dir_.path() / "games.db";
};

TEST_P(DatabaseTest, GamesReadBackEqualAndStandingsAreTheirSum) {
  GameDatabase* database = database_.get();
  std::map<std::string, Standing> sums;
  for (unsigned seed = 0; seed < 12; ++seed) {
    const GameRecord game = SampleGame(seed, {"a", "b", seed % 2 ? "c" : "e", "d"});
    ASSERT_TRUE(database->Write(game));
    ASSERT_EQ(database->Game(seed + 1), game);
    for (int seat = 0; seat < kSeats; ++seat) {
      Standing& sum = sums[game.names[seat]];
      sum.name = game.names[seat];
      sum.games += 1;
      sum.wins += game.Won(seat);
      sum.points += game.scoreChange[seat];
      sum.landlordGames += seat == game.landlord;
      sum.landlordWins += seat == game.landlord && game.Won(seat);
      sum.lastPlayed = std::max(sum.lastPlayed, game.finishedAt);
    }
  }
  for (const auto& [name, sum] : sums) EXPECT_EQ(database->StandingOf(name), sum);
  const auto top = database->Top(3);
  ASSERT_EQ(top.size(), 3u);
  EXPECT_GE(top[0].points, top[1].points);
  EXPECT_GE(top[1].points, top[2].points);
  for (std::size_t i = 0; i < top.size(); ++i) EXPECT_EQ(database->RankOf(top[i]), i + 1);
  const auto recent = database->RecentGames("c", 100);
  ASSERT_EQ(recent.size(), 6u);
  EXPECT_EQ(recent.front().id, 12);
  EXPECT_EQ(database->Game(99), std::nullopt);
}

// Names and passwords are bytes: each is found only by exactly its bytes.
TEST_P(DatabaseTest, OddNamesAreStoredAndComparedExactly) {
  using namespace std::string_literals;
  const std::vector<std::string> names = {
      "\x81\x20\xff",               // invalid GBK
      "ab\0cd"s,                    // NUL inside
      "ab"s,                        // a prefix of the one before
      "123456789012345",            // 15 bytes
      "x'); DROP TABLE games; --",  // SQL metacharacters
      "%_*?\\\"",                   // pattern characters
      "\xd5\xc5\xc8\xfd",           // GBK 张三
      "",                           // nothing at all
  };
  GameDatabase* database = database_.get();
  for (std::size_t i = 0; i < names.size(); ++i) {
    ASSERT_TRUE(database->Write(SampleGame(static_cast<unsigned>(i), {names[i], "p", "q", "r"})));
    ASSERT_EQ(database->AddPasswordHash(names[i], "hash-" + std::to_string(i)), AccountWrite::Done);
  }
  for (std::size_t i = 0; i < names.size(); ++i) {
    SCOPED_TRACE(i);
    const auto line = database->StandingOf(names[i]);
    ASSERT_TRUE(line);
    EXPECT_EQ(line->name, names[i]);
    EXPECT_EQ(line->games, 1);
    EXPECT_EQ(database->PasswordHash(names[i]), "hash-" + std::to_string(i));
    // Adding never replaces; setting does, and removing frees the name alone.
    EXPECT_EQ(database->AddPasswordHash(names[i], "other"), AccountWrite::Refused);
    ASSERT_TRUE(database->SetPasswordHash(names[i], "set-" + std::to_string(i)));
    EXPECT_EQ(database->PasswordHash(names[i]), "set-" + std::to_string(i));
    EXPECT_EQ(database->Game(static_cast<std::int64_t>(i) + 1)->names[0], names[i]);
  }
  EXPECT_EQ(database->StandingOf("AB"), std::nullopt);
  EXPECT_EQ(database->PasswordHash("ab\0"s), std::nullopt);
  EXPECT_EQ(database->RemovePasswordHash("ab\0"s), AccountWrite::Refused);
  EXPECT_EQ(database->RemovePasswordHash("ab"), AccountWrite::Done);
  EXPECT_EQ(database->PasswordHash("ab"), std::nullopt);
  EXPECT_EQ(database->PasswordHash("ab\0cd"s), "set-1");
}

// Each server publishes its range's tables and reads the others': a change replaces rows, a
// whole one clears the range, nobody writes another's rows, and a silent server is gone.
TEST_P(DatabaseTest, LobbyRangesPublishTheirTablesAndReadTheOthers) {
  const bool shared = GetParam() == Backend::Postgres;
  ASSERT_EQ(database_->SharedLobby() != nullptr, shared);  // a SQLite file has one server
  LobbyBoard& board =
      shared ? *database_->SharedLobby() : static_cast<SqliteDatabase&>(*database_).Lobby();
  const TableRange one{1, 10}, two{11, 20};
  const LobbyEntry a{3, 3, 1, 5, {"\xd5\xc5\xc8\xfd", "", "b", "x'); --"}};
  LobbyEntry b{12, 0, 0, 0, {"c", "", "", ""}};
  const LobbyEntry c{15, 2, 0, 0, {"d", "e", "f", "g"}};
  const std::chrono::milliseconds hour = std::chrono::hours(1);
  ASSERT_TRUE(board.PublishLobby({one, true, {a}, {}}));
  ASSERT_TRUE(board.PublishLobby({two, true, {b, c, a}, {}}));  // a is not two's
  EXPECT_EQ(board.ReadLobby(one, hour), (OthersLobby{{b, c}, 20}));
  EXPECT_EQ(board.ReadLobby(two, hour), (OthersLobby{{a}, 10}));
  b.state = 2;
  ASSERT_TRUE(board.PublishLobby({two, false, {b}, {15, 3}}));
  EXPECT_EQ(board.ReadLobby(one, hour), (OthersLobby{{b}, 20}));
  EXPECT_EQ(board.ReadLobby(two, hour), (OthersLobby{{a}, 10}));
  ASSERT_TRUE(board.PublishLobby({two, true, {}, {}}));
  EXPECT_EQ(board.ReadLobby(one, hour), (OthersLobby{{}, 20}));
  EXPECT_EQ(board.ReadLobby(one, std::chrono::milliseconds(0)), (OthersLobby{{}, 0}));
}

TEST_F(SqliteTest, RefusesWhatItMustNotOpen) {
  {
    auto first = OpenOk();
    ASSERT_TRUE(first);
    ASSERT_TRUE(first->Write(SampleGame(1)));
    const auto second = SqliteDatabase::Open(file_);
    EXPECT_FALSE(second.database);
    EXPECT_NE(second.error.find("in use by another server"), std::string::npos) << second.error;
    // An export beside the server reads without the lock.
    auto reader = SqliteDatabase::Open(file_, SqliteDatabase::Mode::ReadOnly);
    ASSERT_TRUE(reader.database) << reader.error;
    EXPECT_TRUE(reader.database->Game(1));
  }
  Poke("PRAGMA user_version = 2");
  auto newer = SqliteDatabase::Open(file_);
  EXPECT_NE(newer.error.find("schema version 2, newer"), std::string::npos) << newer.error;

  fs::remove(file_);
  Poke("CREATE TABLE other(x)");
  EXPECT_NE(SqliteDatabase::Open(file_).error.find("not a Quarn game database"), std::string::npos);

  // Garbage, and a file whose pages were damaged after a good start: refused, not rebuilt.
  const auto expectUnsound = [this] {
    const std::string before = test::ReadFile(file_);
    auto refused = SqliteDatabase::Open(file_);
    EXPECT_FALSE(refused.database);
    EXPECT_NE(refused.error.find("not a sound database"), std::string::npos) << refused.error;
    EXPECT_EQ(test::ReadFile(file_), before);
  };
  fs::remove(file_);
  std::ofstream(file_, std::ios::binary) << std::string(4096, '\x5a');
  expectUnsound();
  fs::remove(file_);
  {
    auto database = OpenOk();
    for (unsigned seed = 0; seed < 40; ++seed) ASSERT_TRUE(database->Write(SampleGame(seed)));
  }
  std::string bytes = test::ReadFile(file_);
  ASSERT_GT(bytes.size(), 8192u);
  std::fill(bytes.begin() + 4096 + 16, bytes.begin() + 8192, '\x7f');
  std::ofstream(file_, std::ios::binary | std::ios::trunc) << bytes;
  expectUnsound();
}

// PostgreSQL stopped while games end: the holding store keeps them, writes
// them once the server is back, and a game written again is not a second copy.
TEST(PostgresRestart, HeldGamesAreWrittenOnceWhenTheServerIsBack) {
  ScratchPostgres postgres("restart");
  if (postgres.Missing()) GTEST_SKIP() << "PostgreSQL is not installed (Debian postgresql)";
  auto opened = PostgresDatabase::Open(postgres.Uri());
  ASSERT_TRUE(opened.database) << opened.error;
  std::vector<std::string> log;
  HoldingStore store(
      *opened.database, [&](std::string_view line) { log.emplace_back(line); },
      [] { return std::chrono::steady_clock::time_point{}; });
  store.Save(SampleGame(0));
  postgres.Stop();
  for (unsigned seed = 1; seed <= 3; ++seed) store.Save(SampleGame(seed));
  EXPECT_EQ(store.Held(), 3u);
  ASSERT_EQ(postgres.Start(), postgres.Uri());
  // The connection is made again step by step, a step a call, never waiting.
  for (int tick = 0; tick < 500 && store.Held() > 0; ++tick) {
    store.Retry();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_EQ(store.Held(), 0u);
  EXPECT_EQ(store.Game(4), SampleGame(3));
  ASSERT_TRUE(opened.database->Write(SampleGame(3)));
  EXPECT_EQ(store.StandingOf("a")->games, 4);
  EXPECT_EQ(store.Game(5), std::nullopt);
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[1], "game store writable again: 3 held games written late, 0 lost");
}

}  // namespace
}  // namespace quarn::store
