// The SQLite store: games written whole and read back equal, standings as
// the sum of the games, names kept byte for byte, and the files it refuses.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "store/sqlite/sqlite_database.h"
#include "tests/support/store/sample_game.h"

namespace quarn::store {
namespace {

using testing::SampleGame;
namespace fs = std::filesystem;

class SqliteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("quarn-store-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    file_ = dir_ / "games.db";
  }
  void TearDown() override { fs::remove_all(dir_); }
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
  std::string Bytes() const {
    std::ifstream in(file_, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }

  fs::path dir_;
  fs::path file_;
};

TEST_F(SqliteTest, GamesReadBackEqualAndStandingsAreTheirSum) {
  auto database = OpenOk();
  ASSERT_TRUE(database);
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
TEST_F(SqliteTest, OddNamesAreStoredAndComparedExactly) {
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
  auto database = OpenOk();
  ASSERT_TRUE(database);
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

  fs::remove(file_);
  std::ofstream(file_, std::ios::binary) << std::string(4096, '\x5a');
  const std::string garbage = Bytes();
  auto corrupt = SqliteDatabase::Open(file_);
  EXPECT_FALSE(corrupt.database);
  EXPECT_NE(corrupt.error.find("not a sound database"), std::string::npos) << corrupt.error;
  EXPECT_EQ(Bytes(), garbage);
}

// A file whose pages were damaged after a good start is refused, not rebuilt.
TEST_F(SqliteTest, RefusesDamagedPages) {
  {
    auto database = OpenOk();
    for (unsigned seed = 0; seed < 40; ++seed) ASSERT_TRUE(database->Write(SampleGame(seed)));
  }
  std::string bytes = Bytes();
  ASSERT_GT(bytes.size(), 8192u);
  std::fill(bytes.begin() + 4096 + 16, bytes.begin() + 8192, '\x7f');
  std::ofstream(file_, std::ios::binary | std::ios::trunc) << bytes;
  auto damaged = SqliteDatabase::Open(file_);
  EXPECT_FALSE(damaged.database);
  EXPECT_NE(damaged.error.find("not a sound database"), std::string::npos) << damaged.error;
  EXPECT_EQ(Bytes(), bytes);
}

}  // namespace
}  // namespace quarn::store
