// quarnd with a game file, killed with SIGKILL at random moments while four
// bots play, then started again on the same file: every game a bot saw end is
// there, each replays by the rules to its stored scores, and the standings
// are the sum of the games. quarn-dump reads the file beside the running
// server, and refuses clearly what it cannot read.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <random>
#include <thread>

#include "store/replay.h"
#include "store/sqlite/sqlite_database.h"
#include "tests/support/child_process.h"

namespace quarn::e2e {
namespace {

using test::ChildProcess;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

// Names that must come back byte for byte (the bots send them as GBK).
const std::array<std::string, 4> kNames = {"east", "o'k;--", "西家", "s\"%_"};

std::int64_t StoredGames(const fs::path& file) {
  auto opened = store::SqliteDatabase::Open(file, store::SqliteDatabase::Mode::ReadOnly);
  if (!opened.database) return 0;
  const auto line = opened.database->StandingOf("east");
  return line ? line->games : 0;
}

test::RunResult Dump(const std::vector<std::string>& args) {
  return test::RunProgram(test::ProgramFolder() / "quarn-dump", args);
}

// The games a bot saw end, from its last line.
int SeenEnd(ChildProcess& bot) {
  bot.Wait(10s);
  const std::string& out = bot.Output();
  for (const std::string_view tail : {"lost after ", "finished "}) {
    if (const auto at = out.rfind(tail); at != std::string::npos) {
      return std::stoi(out.substr(at + tail.size()));
    }
  }
  return -1;
}

// One run of quarnd and four bots: killed once `killAfter` games are stored
// (plus a random pause), or left to finish `games` games and stopped.
int PlayRun(const fs::path& dir, int run, std::mt19937& random, int killAfter, int games) {
  ChildProcess server;
  const auto port = test::StartQuarnd(
      server, {"--no-delay", "--bid", "--dir", dir.string(), "--db", (dir / "games.db").string()},
      dir / ("quarnd" + std::to_string(run) + ".out"));
  EXPECT_NE(port, 0) << server.Output();
  if (port == 0) return -1;
  std::array<ChildProcess, 4> bots;
  for (int seat = 0; seat < 4; ++seat) {
    bots[seat].Start(test::ProgramFolder() / "quarn-bot",
                     {"--port", std::to_string(port), "--seat", std::to_string(seat), "--name",
                      kNames[seat], "--think", "0", "--games", std::to_string(games)},
                     dir / ("bot" + std::to_string(run) + std::to_string(seat) + ".out"));
  }
  if (killAfter > 0) {
    const std::int64_t before = StoredGames(dir / "games.db");
    test::WaitUntil([&] { return StoredGames(dir / "games.db") >= before + killAfter; }, 30s);
    // The export tool reads beside the server that holds the file.
    const auto dump = Dump({"--db", (dir / "games.db").string(), "--name", "east"});
    EXPECT_EQ(dump.code, 0) << dump.err;
    std::this_thread::sleep_for(std::chrono::milliseconds(random() % 60));
    server.Kill();
  }
  int seen = 0;
  for (ChildProcess& bot : bots) seen = std::max(seen, SeenEnd(bot));
  if (killAfter == 0) {
    EXPECT_EQ(server.Terminate(10s), 0);
  }
  return seen;
}

TEST(Crash, KilledServersKeepEveryGameTheBotsSawEnd) {
  test::TempDir dir;
  std::mt19937 random(std::random_device{}());
  const fs::path file = dir.path() / "games.db";
  std::int64_t seen = 0;
  for (int run = 0; run < 3; ++run) {
    seen += PlayRun(dir.path(), run, random, 1 + static_cast<int>(random() % 4), 0);
    // The game being stored as the kill came may be there without its end
    // having reached a bot: never fewer games than seen, at most one more.
    const std::int64_t stored = StoredGames(file);
    ASSERT_GE(stored, seen) << "run " << run;
    ASSERT_LE(stored, seen + 1) << "run " << run;
    seen = stored;
  }
  ASSERT_EQ(PlayRun(dir.path(), 3, random, 0, 3), 3);
  seen += 3;

  auto opened = store::SqliteDatabase::Open(file, store::SqliteDatabase::Mode::ReadOnly);
  ASSERT_TRUE(opened.database) << opened.error;
  store::SqliteDatabase& database = *opened.database;
  std::map<std::string, store::Standing> sums;
  std::int64_t id = 1;
  for (; auto game = database.Game(id); ++id) {
    const store::ReplayOutcome replay = store::Replay(*game);
    ASSERT_TRUE(replay.sound) << "game " << id << ": " << replay.fault;
    EXPECT_EQ(replay.scoreChange, game->scoreChange) << "game " << id;
    for (int seat = 0; seat < 4; ++seat) {
      store::Standing& sum = sums[game->names[seat]];
      sum.games += 1;
      sum.points += game->scoreChange[seat];
      sum.wins += game->Won(seat);
    }
  }
  EXPECT_EQ(id - 1, seen);
  ASSERT_EQ(sums.size(), 4u);
  for (const auto& [name, sum] : sums) {
    const auto line = database.StandingOf(name);
    ASSERT_TRUE(line);
    EXPECT_EQ(line->games, sum.games);
    EXPECT_EQ(line->points, sum.points);
    EXPECT_EQ(line->wins, sum.wins);
  }

  // quarn-dump: a transcript, a name's games, and a clear refusal with status 1.
  std::ofstream(dir.path() / "bad.db") << std::string(8192, 'x');
  const std::string db = file.string();
  struct Case {
    std::vector<std::string> args;
    int code;
    std::string shows;
  };
  const Case cases[] = {
      {{"--db", db, "--game", "1"}, 0, "game 1, table 1, "},
      {{"--db", db, "--name", "西家", "--recent", "2"}, 0, "西家"},
      {{"--db", db, "--game", std::to_string(seen + 1)}, 1, "no game"},
      {{"--db", (dir.path() / "bad.db").string(), "--game", "1"}, 1, "bad.db"},
      {{"--db", (dir.path() / "none.db").string(), "--game", "1"}, 1, "no such database"},
  };
  for (const Case& c : cases) {
    const auto run = Dump(c.args);
    EXPECT_EQ(run.code, c.code) << c.args[3];
    EXPECT_NE((run.out + run.err).find(c.shows), std::string::npos) << run.out << run.err;
  }
  const auto listed = Dump({"--db", db, "--name", "east", "--recent", "2"});
  EXPECT_EQ(std::count(listed.out.begin(), listed.out.end(), '\n'), 3) << listed.out;
}

}  // namespace
}  // namespace quarn::e2e
