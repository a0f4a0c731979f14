// Whole games between quarnd and four quarn-bot processes over loopback, with
// bidding on and off: every game ends, every hero board block adds up to 0,
// the server refuses no play and nothing crashes.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <memory>
#include <regex>
#include <thread>

#include "child_process.h"
#include "core/gbk.h"
#include "hero_board.h"

namespace quarn::e2e {
namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;
using std::chrono::seconds;

constexpr int kGames = 100;
constexpr auto kGamesLimit = seconds(110);

class TempDir {
 public:
  TempDir() {
    std::string pattern = (fs::temp_directory_path() / "quarn-e2e.XXXXXX").string();
    if (mkdtemp(pattern.data())) path_ = pattern;
  }
  ~TempDir() {
    std::error_code ignored;
    if (!path_.empty() && !::testing::Test::HasFailure()) fs::remove_all(path_, ignored);
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

// The port quarnd announces once it listens; 0 when it does not within 10 s.
int WaitForPort(const fs::path& serverOutput) {
  static const std::regex kListening(R"(listening on port (\d+))");
  for (int attempt = 0; attempt < 500; ++attempt) {
    std::smatch match;
    const std::string text = ReadFile(serverOutput);
    if (std::regex_search(text, match, kListening)) return std::stoi(match[1]);
    std::this_thread::sleep_for(milliseconds(20));
  }
  return 0;
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
    auto more = ParseHeroBoard(GbkToUtf8(ReadFile(file)), &stray);
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
  const fs::path bin = ProgramFolder();
  std::vector<std::string> serverArgs = {"--port",     "0",     "--bind",           "127.0.0.1",
                                         "--no-delay", "--dir", dir.path().string()};
  if (bidding) serverArgs.push_back("--bid");
  ChildProcess server(bin / "quarnd", serverArgs, dir.path() / "quarnd.out");
  ASSERT_TRUE(server.Started());
  const int port = WaitForPort(dir.path() / "quarnd.out");
  ASSERT_NE(port, 0) << ReadFile(dir.path() / "quarnd.out");

  std::vector<std::unique_ptr<ChildProcess>> bots;
  for (int seat = 0; seat < 4; ++seat) {
    bots.push_back(std::make_unique<ChildProcess>(
        bin / "quarn-bot",
        std::vector<std::string>{"--port", std::to_string(port), "--seat", std::to_string(seat),
                                 "--games", std::to_string(kGames), "--think", "0"},
        dir.path() / ("bot" + std::to_string(seat) + ".out")));
  }
  const auto deadline = std::chrono::steady_clock::now() + kGamesLimit;
  for (int seat = 0; seat < 4; ++seat) {
    auto left =
        std::chrono::duration_cast<milliseconds>(deadline - std::chrono::steady_clock::now());
    const std::optional<int> code = bots[seat]->Wait(std::max(left, milliseconds(1)));
    const std::string log = ReadFile(dir.path() / ("bot" + std::to_string(seat) + ".out"));
    EXPECT_EQ(code, 0) << "bot at seat " << seat << ":\n" << log;
    EXPECT_NE(log.find("finished " + std::to_string(kGames) + " games (0 refused)"),
              std::string::npos)
        << log;
  }
  EXPECT_EQ(server.Terminate(seconds(10)), 0);

  const std::string runLog = ReadFile(dir.path() / "quarnd.out");
  EXPECT_EQ(runLog.find("[错误]"), std::string::npos) << "the server logged a card error";

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
