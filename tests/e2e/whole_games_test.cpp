// Whole games between quarnd and quarn-bot processes over loopback, with
// bidding on and off, at one table and at three at once: every game ends,
// every hero board block adds up to 0, the server refuses no play and nothing
// crashes, not even when nobody reads its standard output.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "core/gbk.h"
#include "tests/e2e/hero_board.h"
#include "tests/support/child_process.h"

namespace quarn::e2e {
namespace {

using test::ChildProcess;
using test::ReadFile;
using test::TempDir;

namespace fs = std::filesystem;
using std::chrono::milliseconds;
using std::chrono::seconds;

constexpr auto kGamesLimit = seconds(110);

// `tables` x 4 bots, each asking for its own table and seat, play `games`
// games at every table; each table's hero board blocks are checked on their own.
// With `unreadOutput`, quarnd writes to a pipe that nobody reads while the
// games last: the games must not notice.
void PlayWholeGames(std::vector<std::string> serverArgs, int tables, int games,
                    bool unreadOutput = false) {
  TempDir dir;
  ASSERT_FALSE(dir.path().empty());
  serverArgs.insert(serverArgs.end(),
                    {"--dir", dir.path().string(), "--tables", std::to_string(tables)});
  ChildProcess server;
  const int port =
      test::StartQuarnd(server, serverArgs, unreadOutput ? fs::path() : dir.path() / "quarnd.out");
  ASSERT_NE(port, 0) << server.Output();

  // With watchers allowed, quarn-bot --watch follows table 1 from before its first deal.
  const bool watched =
      std::find(serverArgs.begin(), serverArgs.end(), "--spectators") != serverArgs.end();
  ChildProcess watcher;
  if (watched) {
    ASSERT_TRUE(
        watcher.Start(test::ProgramFolder() / "quarn-bot",
                      {"--port", std::to_string(port), "--watch", "--games", std::to_string(games)},
                      dir.path() / "watcher.out"));
  }
  std::vector<ChildProcess> bots(static_cast<std::size_t>(4 * tables));
  // Named after the table and seat each asks for, as the hero board must show them.
  const auto nameOf = [](std::size_t table, std::size_t seat) {
    return "t" + std::to_string(table) + "s" + std::to_string(seat);
  };
  for (std::size_t bot = 0; bot < bots.size(); ++bot) {
    ASSERT_TRUE(
        bots[bot].Start(test::ProgramFolder() / "quarn-bot",
                        {"--port", std::to_string(port), "--table", std::to_string(bot / 4 + 1),
                         "--seat", std::to_string(bot % 4), "--name", nameOf(bot / 4 + 1, bot % 4),
                         "--games", std::to_string(games), "--think", "0"},
                        dir.path() / ("bot" + std::to_string(bot) + ".out")));
  }
  const auto deadline = std::chrono::steady_clock::now() + kGamesLimit;
  for (std::size_t bot = 0; bot < bots.size(); ++bot) {
    const auto left =
        std::chrono::duration_cast<milliseconds>(deadline - std::chrono::steady_clock::now());
    const std::optional<int> code = bots[bot].Wait(std::max(left, milliseconds(1)));
    const std::string& log = bots[bot].Output();
    EXPECT_EQ(code, 0) << "bot " << bot << ":\n" << log;
    EXPECT_NE(log.find("finished " + std::to_string(games) + " games (0 refused)"),
              std::string::npos)
        << log;
  }
  if (watched) {
    EXPECT_EQ(watcher.Wait(seconds(10)), 0) << watcher.Output();
    const std::string& story = watcher.Output();
    std::size_t ends = 0;
    for (std::size_t at = story.find("赢家："); at != std::string::npos;
         at = story.find("赢家：", at + 1)) {
      ++ends;
    }
    EXPECT_EQ(ends, static_cast<std::size_t>(games)) << story;
    EXPECT_NE(story.find("地主："), std::string::npos) << story;
  }
  if (unreadOutput) {  // read at last: the lines that did not fit are told of
    const auto told = [&] {
      return server.Output().find(" log lines dropped") != std::string::npos;
    };
    EXPECT_TRUE(test::WaitUntil(told, seconds(10)));
  }
  EXPECT_EQ(server.Terminate(seconds(10)), 0);

  for (const fs::path& log : FilesStartingWith(dir.path(), "Log")) {
    EXPECT_EQ(ReadFile(log).find(Utf8ToGbk("[错误]")), std::string::npos)
        << "the server logged a card error in " << log;
  }

  std::map<int, std::vector<HeroBlock>> byTable;
  for (HeroBlock& block : ReadHeroBoards(dir.path())) byTable[block.table].push_back(block);
  ASSERT_EQ(byTable.size(), static_cast<std::size_t>(tables));
  for (auto& [table, blocks] : byTable) {
    ASSERT_EQ(blocks.size(), static_cast<std::size_t>(games)) << "table " << table;
    static constexpr const char* kSeatNames[] = {"东", "北", "西", "南"};
    for (int game = 0; game < games; ++game) {
      const HeroBlock& block = blocks[game];
      ASSERT_EQ(block.seats.size(), 4u) << "game " << game + 1;
      int sum = 0;
      for (int s = 0; s < 4; ++s) {
        EXPECT_EQ(block.seats[s].seatName, kSeatNames[s]);
        EXPECT_EQ(block.seats[s].name,
                  nameOf(static_cast<std::size_t>(table), static_cast<std::size_t>(s)));
        EXPECT_EQ(block.seats[s].rounds, game + 1);
        sum += block.seats[s].score;
      }
      EXPECT_EQ(sum, 0) << "game " << game + 1;
    }
  }
}

// Every packet logged, to a pipe nobody reads.
TEST(WholeGames, TwoHundredGamesWithoutBiddingWhileNobodyReadsTheRunLog) {
  PlayWholeGames({"--no-delay", "--log", "packets"}, 1, 200, true);
}

// Paced (briefly), so the tables' timers interleave with each other's play;
// quarn-bot --watch tells table 1's games.
TEST(WholeGames, ThreeTablesAtOnceOneOfThemWatched) {
  PlayWholeGames({"--bid", "--delay-sync", "20", "--delay-deal", "30", "--spectators", "1"}, 3, 30);
}

}  // namespace
}  // namespace quarn::e2e
