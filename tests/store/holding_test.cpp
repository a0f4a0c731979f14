// Writes that fail: games held in memory (bounded), the failure logged at
// most once a minute, and everything held written in order once the file
// takes writes again. Replays: a stored game plays again to its scores, and
// travels as bytes that read back to it.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <sys/resource.h>

#include <csignal>
#include <filesystem>

#include "store/holding_store.h"
#include "store/record_bytes.h"
#include "store/replay.h"
#include "store/sqlite/sqlite_database.h"
#include "store/transcript.h"
#include "tests/support/files.h"
#include "tests/support/store/sample_game.h"

namespace quarn::store {
namespace {

using testing::SampleGame;
namespace fs = std::filesystem;

// The ways a write fails: another connection holding the write lock, a
// connection that may only read, and a file that may not grow (as on a full
// disk: the kernel refuses the write).
enum class Failure { Locked, ReadOnly, Full };

void Set(Failure failure, bool failing, sqlite3* own, sqlite3* other, const fs::path& dir) {
  switch (failure) {
    case Failure::Locked:
      ASSERT_EQ(
          sqlite3_exec(other, failing ? "BEGIN EXCLUSIVE" : "COMMIT", nullptr, nullptr, nullptr),
          SQLITE_OK);
      break;
    case Failure::ReadOnly:
      ASSERT_EQ(sqlite3_exec(own, failing ? "PRAGMA query_only = ON" : "PRAGMA query_only = OFF",
                             nullptr, nullptr, nullptr),
                SQLITE_OK);
      break;
    case Failure::Full: {
      rlimit limit{RLIM_INFINITY, RLIM_INFINITY};
      if (failing) limit.rlim_cur = fs::file_size(dir / "games.db-wal");
      ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
      break;
    }
  }
}

TEST(HoldingStore, HoldsGamesWhileWritesFailAndWritesThemLater) {
  std::signal(SIGXFSZ, SIG_IGN);  // a refused write, not a killed process
  for (const Failure failure : {Failure::Locked, Failure::ReadOnly, Failure::Full}) {
    SCOPED_TRACE(static_cast<int>(failure));
    const test::TempDir dir;
    auto opened = SqliteDatabase::Open(dir.path() / "games.db");
    ASSERT_TRUE(opened.database) << opened.error;
    std::vector<std::string> log;
    std::chrono::steady_clock::time_point now{};
    HoldingStore store(
        *opened.database, [&](std::string_view line) { log.emplace_back(line); },
        [&] { return now; }, 3);
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open((dir.path() / "games.db").c_str(), &other), SQLITE_OK);

    store.Save(SampleGame(0));
    Set(failure, true, opened.database->Handle(), other, dir.path());
    for (unsigned seed = 1; seed <= 5; ++seed) {
      store.Save(SampleGame(seed));
      now += std::chrono::seconds(20);
      store.Retry();
    }
    EXPECT_EQ(store.Held(), 3u);
    EXPECT_EQ(store.Lost(), 2u);
    // Failures at 0 s and 60 s reach the log, none between.
    ASSERT_EQ(log.size(), 2u);
    EXPECT_NE(log[0].find("game store write failed"), std::string::npos) << log[0];

    Set(failure, false, opened.database->Handle(), other, dir.path());
    sqlite3_close(other);
    store.Retry();
    EXPECT_EQ(store.Held(), 0u);
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[2], "game store writable again: 3 held games written late, 2 lost");
    // Nothing half written: the games are the first and the three kept, in order.
    EXPECT_EQ(store.Game(2), SampleGame(3));
    EXPECT_EQ(store.Game(4), SampleGame(5));
    EXPECT_EQ(store.Game(5), std::nullopt);
    EXPECT_EQ(store.StandingOf("a")->games, 4);
  }
}

TEST(Replay, PlaysAStoredGameToItsScoresAndFindsTheFirstFault) {
  for (unsigned seed = 0; seed < 8; ++seed) {
    const GameRecord game = SampleGame(seed);
    const ReplayOutcome outcome = Replay(game);
    ASSERT_TRUE(outcome.sound) << outcome.fault;
    EXPECT_EQ(outcome.scoreChange, game.scoreChange);
    // The bytes a client is sent read back to the same game; any cut of them to nothing.
    const std::string bytes = GameBytes(game);
    EXPECT_EQ(ReadGame(bytes), game);
    for (std::size_t n = 0; n < bytes.size(); n += 7) EXPECT_FALSE(ReadGame(bytes.substr(0, n)));
    EXPECT_FALSE(ReadGame(bytes + '\0'));
  }
  const GameRecord game = SampleGame(3);
  struct Case {
    const char* fault;
    void (*spoil)(GameRecord&);
  };
  const Case cases[] = {
      {"cards not in the hand", [](GameRecord& g) { g.hands[g.landlord][0] = 0; }},
      {"move 2: move out of turn", [](GameRecord& g) { g.moves[1].seat = g.landlord; }},
      {"move 1: a pass where the seat leads", [](GameRecord& g) { g.moves[0].cards.clear(); }},
      {"nobody played out", [](GameRecord& g) { g.moves.pop_back(); }},
      {"winner differs", [](GameRecord& g) { g.winner = (g.landlord + 1) % kSeats; }},
      {"landlord differs from the bidding",
       [](GameRecord& g) {
         g.bids = {{g.startSeat, 0},
                   {static_cast<std::uint8_t>((g.startSeat + 1) % 4), 10},
                   {static_cast<std::uint8_t>((g.startSeat + 2) % 4), 0},
                   {static_cast<std::uint8_t>((g.startSeat + 3) % 4), 0}};
       }},
  };
  for (const Case& c : cases) {
    GameRecord spoilt = game;
    c.spoil(spoilt);
    EXPECT_NE(Replay(spoilt).fault.find(c.fault), std::string::npos) << c.fault;
  }
  const std::string text = Transcript(game, 7);
  EXPECT_EQ(text.rfind("game 7, table 4, ", 0), 0u) << text;
  EXPECT_NE(text.find("landlord 南[d] for 10 points"), std::string::npos);
}

}  // namespace
}  // namespace quarn::store
