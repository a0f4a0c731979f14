// Whole games between quarnd and four quarn-bot processes over loopback, with
// bidding on and off: every game ends, every hero board block adds up to 0,
// the server refuses no play and nothing crashes.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <regex>
#include <sstream>

#include "core/gbk.h"
#include "tests/support/child_process.h"

namespace quarn::e2e {
namespace {

using test::ChildProcess;
using test::ReadFile;
using test::TempDir;

namespace fs = std::filesystem;
using std::chrono::milliseconds;
using std::chrono::seconds;

constexpr int kGames = 100;
constexpr auto kGamesLimit = seconds(110);

// One hero board block per finished game: a header line, then a line per seat.
struct HeroSeat {
  std::string seatName;  // 东 北 西 南
  int rounds = 0;
  int score = 0;
};

struct HeroBlock {
  int table = 0;
  std::vector<HeroSeat> seats;
};

// Lines of neither form are returned in `stray`.
std::vector<HeroBlock> ParseHeroBoard(const std::string& utf8, std::vector<std::string>& stray) {
  static const std::regex kHeader(R"(^\*\*\*\*\[Table=(-?\d+)\].*\*\*\*\*$)");
  static const std::regex kSeat(R"(^\[.*\]\[坐(.+)\]\[总轮次=(-?\d+)\]\[得分=(-?\d+)\]$)");
  std::vector<HeroBlock> blocks;
  std::istringstream in(utf8);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::smatch match;
    if (line.empty()) continue;
    if (std::regex_match(line, match, kHeader)) {
      blocks.push_back({std::stoi(match[1]), {}});
    } else if (!blocks.empty() && std::regex_match(line, match, kSeat)) {
      blocks.back().seats.push_back({match[1], std::stoi(match[2]), std::stoi(match[3])});
    } else {
      stray.push_back(line);
    }
  }
  return blocks;
}

std::vector<HeroBlock> ReadHeroBoards(const fs::path& dir) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(dir)) {
    if (entry.path().filename().string().starts_with("Hero")) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  std::vector<HeroBlock> blocks;
  for (const fs::path& file : files) {
    std::vector<std::string> stray;
    auto more = ParseHeroBoard(GbkToUtf8(ReadFile(file)), stray);
    EXPECT_TRUE(stray.empty()) << file << ": " << stray.front();
    blocks.insert(blocks.end(), more.begin(), more.end());
  }
  return blocks;
}

// Each game moves 3P to or from the landlord and P from or to each other seat.
void ExpectOneGameOfScoring(const HeroBlock& before, const HeroBlock& after, int game) {
  std::array<int, 4> delta{};
  for (int s = 0; s < 4; ++s) delta[s] = after.seats[s].score - before.seats[s].score;
  std::array<int, 4> sorted = delta;
  std::sort(sorted.begin(), sorted.end());
  const bool lordWon =
      sorted[1] == sorted[0] && sorted[2] == sorted[0] && sorted[3] == -3 * sorted[0];
  const bool lordLost =
      sorted[1] == sorted[3] && sorted[2] == sorted[3] && sorted[0] == -3 * sorted[3];
  EXPECT_TRUE((lordWon && sorted[0] < 0) || (lordLost && sorted[3] > 0))
      << "game " << game << " moved " << delta[0] << " " << delta[1] << " " << delta[2] << " "
      << delta[3];
}

void PlayWholeGames(bool bidding) {
  TempDir dir;
  ASSERT_FALSE(dir.path().empty());
  std::vector<std::string> serverArgs = {"--no-delay", "--dir", dir.path().string()};
  if (bidding) serverArgs.push_back("--bid");
  ChildProcess server;
  const int port = test::StartQuarnd(server, serverArgs, dir.path() / "quarnd.out");
  ASSERT_NE(port, 0) << server.Output();

  std::array<ChildProcess, 4> bots;
  for (int seat = 0; seat < 4; ++seat) {
    ASSERT_TRUE(bots[seat].Start(test::ProgramFolder() / "quarn-bot",
                                 {"--port", std::to_string(port), "--seat", std::to_string(seat),
                                  "--games", std::to_string(kGames), "--think", "0"},
                                 dir.path() / ("bot" + std::to_string(seat) + ".out")));
  }
  const auto deadline = std::chrono::steady_clock::now() + kGamesLimit;
  for (int seat = 0; seat < 4; ++seat) {
    const auto left =
        std::chrono::duration_cast<milliseconds>(deadline - std::chrono::steady_clock::now());
    const std::optional<int> code = bots[seat].Wait(std::max(left, milliseconds(1)));
    const std::string& log = bots[seat].Output();
    EXPECT_EQ(code, 0) << "bot at seat " << seat << ":\n" << log;
    EXPECT_NE(log.find("finished " + std::to_string(kGames) + " games (0 refused)"),
              std::string::npos)
        << log;
  }
  EXPECT_EQ(server.Terminate(seconds(10)), 0);

  EXPECT_EQ(server.Output().find("[错误]"), std::string::npos) << "the server logged a card error";

  const std::vector<HeroBlock> blocks = ReadHeroBoards(dir.path());
  ASSERT_EQ(blocks.size(), static_cast<std::size_t>(kGames));
  HeroBlock start{1, std::vector<HeroSeat>(4)};
  static constexpr const char* kSeatNames[] = {"东", "北", "西", "南"};
  for (int game = 0; game < kGames; ++game) {
    const HeroBlock& block = blocks[game];
    ASSERT_EQ(block.seats.size(), 4u) << "game " << game + 1;
    EXPECT_EQ(block.table, 1);
    int sum = 0;
    for (int s = 0; s < 4; ++s) {
      EXPECT_EQ(block.seats[s].seatName, kSeatNames[s]);
      EXPECT_EQ(block.seats[s].rounds, game + 1);
      sum += block.seats[s].score;
    }
    EXPECT_EQ(sum, 0) << "game " << game + 1;
    ExpectOneGameOfScoring(game == 0 ? start : blocks[game - 1], block, game + 1);
  }
}

TEST(WholeGames, HundredGamesWithoutBidding) {
  PlayWholeGames(false);
}

TEST(WholeGames, HundredGamesWithBidding) {
  PlayWholeGames(true);
}

}  // namespace
}  // namespace quarn::e2e
