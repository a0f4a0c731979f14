// A game that survives its players, between quarnd and quarn-bot processes:
// a bot's connection is cut in the middle of a game, the computer plays its
// seat, the bot logs in again by itself and finishes the game, and a login
// with the wrong password takes nothing.
#include <gtest/gtest.h>

#include <QTcpServer>
#include <array>
#include <fstream>
#include <thread>

#include "core/gbk.h"
#include "protocol/any_message.h"
#include "tests/e2e/hero_board.h"
#include "tests/support/child_process.h"
#include "tests/support/wire_client.h"

namespace quarn::e2e {
namespace {

using test::ChildProcess;
using namespace std::chrono_literals;

constexpr auto kLimit = 100s;

constexpr const char* kHaproxy = "/usr/sbin/haproxy";

// HAProxy relaying a free port to quarnd's. Killed, it closes both ends of
// every connection at once, as a network that fails would; started again,
// a client may connect again.
class Relay {
 public:
  Relay(const test::TempDir& dir, std::uint16_t serverPort) : config_(dir.path() / "relay.cfg") {
    QTcpServer free;
    port_ = free.listen(QHostAddress::LocalHost, 0) ? free.serverPort() : 0;
    std::ofstream(config_) << "defaults\n  mode tcp\n  timeout connect 5s\n  timeout client 5m\n"
                           << "  timeout server 5m\nlisten relay\n  bind 127.0.0.1:" << port_
                           << "\n  server quarnd 127.0.0.1:" << serverPort << "\n";
  }
  // Until the port takes connections, or false.
  bool Start() {
    return haproxy_.Start(kHaproxy, {"-db", "-f", config_.string()}) &&
           test::WaitUntil([this] { return test::WireClient().Connect(port_); }, 5s);
  }
  bool Cut() {
    haproxy_.Kill();
    return Start();
  }
  std::uint16_t Port() const { return port_; }

 private:
  std::filesystem::path config_;
  std::uint16_t port_ = 0;
  ChildProcess haproxy_;
};

// Four bots play two games each; seat 2 plays through a relay that is cut as
// the second game is dealt, and logs in again by itself.
TEST(KeepSeats, ACutPlayerIsPlayedForThenComesBackAndFinishesTheGame) {
  if (!std::filesystem::exists(kHaproxy))
    GTEST_SKIP() << "HAProxy is not installed (Debian haproxy)";
  test::TempDir dir;
  ChildProcess server;
  const std::uint16_t port = test::StartQuarnd(
      server, {"--keep-seats", "--turn-time", "1", "--no-delay", "--dir", dir.path().string()},
      dir.path() / "quarnd.out");
  ASSERT_NE(port, 0);
  Relay relay(dir, port);
  ASSERT_TRUE(relay.Start());
  std::array<ChildProcess, 4> bots;
  for (int seat = 0; seat < 4; ++seat) {
    // The basic player pauses as long as it is told: games long enough to come back to.
    std::vector<std::string> args = {"--seat",  std::to_string(seat),
                                     "--games", "2",
                                     "--level", "basic",
                                     "--think", "100",
                                     "--port",  std::to_string(seat == 2 ? relay.Port() : port)};
    if (seat == 2) args.insert(args.end(), {"--reconnect", "--password", "secret"});
    ASSERT_TRUE(bots[seat].Start(test::ProgramFolder() / "quarn-bot", args,
                                 dir.path() / ("bot" + std::to_string(seat) + ".out")));
  }
  EXPECT_TRUE(test::WaitUntil([&] { return bots[0].Output().find("game 1:") != std::string::npos; },
                              kLimit));
  ASSERT_TRUE(relay.Cut());
  std::this_thread::sleep_for(200ms);
  test::WireClient intruder;
  EXPECT_TRUE(intruder.Connect(port));
  intruder.Write(BuildPacket(MessageType::LoginRequest,
                             MakeLoginRequest(Utf8ToGbk("电脑3"), "wrong", 1, 1, 1, 2))
                     ->data());
  EXPECT_TRUE(intruder.Read(500).empty());
  for (int seat = 0; seat < 4; ++seat) {
    EXPECT_EQ(bots[seat].Wait(kLimit), 0) << bots[seat].Output();
    const std::string& log = bots[seat].Output();
    EXPECT_NE(log.find("finished 2 games (0 refused)"), std::string::npos) << log;
    EXPECT_EQ(log.find("left the table"), std::string::npos) << log;
  }
  EXPECT_NE(bots[2].Output().find("logged in again at seat 2"), std::string::npos);
  EXPECT_NE(bots[2].Output().find("back at the table"), std::string::npos);
  EXPECT_EQ(server.Terminate(), 0);
  EXPECT_EQ(server.Output().find("[错误]"), std::string::npos);
  // The seat was kept: its player's games count on with the others'.
  const std::vector<HeroBlock> blocks = ReadHeroBoards(dir.path());
  ASSERT_EQ(blocks.size(), 2u);
  for (std::size_t game = 0; game < 2; ++game) {
    for (const HeroSeat& seat : blocks[game].seats) EXPECT_EQ(seat.rounds, int(game) + 1);
  }
}

}  // namespace
}  // namespace quarn::e2e
