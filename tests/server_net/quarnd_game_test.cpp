// quarnd as a process over loopback: four players and a whole game, paced
// packets, a vanished log reader, and the ways it refuses to start.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTcpServer>
#include <QTemporaryDir>
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "core/gbk.h"
#include "protocol/packet_builder.h"
#include "tests/support/child_process.h"
#include "tests/support/test_player.h"

namespace quarn::test {
namespace {

using Players = std::array<std::unique_ptr<TestPlayer>, 4>;
using Clock = std::chrono::steady_clock;

// The saved files of one kind, oldest first: a view that reaches 1000 lines is
// saved under a fresh stamp, so a long run leaves several.
std::vector<QByteArray> ReadFilesStartingWith(const QString& dir, const QString& prefix) {
  std::vector<QByteArray> contents;
  for (const QString& name : QDir(dir).entryList({prefix + "*.txt"}, QDir::Files, QDir::Name)) {
    QFile file(QDir(dir).filePath(name));
    if (file.open(QIODevice::ReadOnly)) contents.push_back(file.readAll());
  }
  return contents;
}

// Every line break of a saved file is CR LF.
bool AllLinesEndInCrLf(const QByteArray& text) {
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) return false;
    if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')) return false;
  }
  return !text.isEmpty() && text.endsWith("\r\n");
}

QByteArray Gbk(const char* utf8) {
  return QByteArray::fromStdString(Utf8ToGbk(utf8));
}

class QuarndGameTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
  std::string Dir() const { return dir_.path().toStdString(); }

  // Reads for every player (and drains quarnd) until `done` holds; bounded.
  template <typename Done>
  bool PumpUntil(Done done, std::span<TestPlayer* const> players, int seconds = 60) {
    const auto end = Clock::now() + std::chrono::seconds(seconds);
    while (!done()) {
      if (Clock::now() >= end) return false;
      quarnd_.Drain();
      for (TestPlayer* player : players) player->Pump(2);
    }
    return true;
  }
  bool LogIn(TestPlayer& player, std::uint8_t seat) {
    TestPlayer* one[] = {&player};
    return player.Connect(port_) && player.SendLogin(seat) &&
           PumpUntil([&] { return player.Seat() >= 0; }, one, 10);
  }

  // quarnd with `args` and the test's folder for its files.
  void Start(std::vector<std::string> args) {
    args.insert(args.end(), {"--dir", Dir()});
    port_ = StartQuarnd(quarnd_, args);
    ASSERT_NE(port_, 0) << quarnd_.Output() << quarnd_.Errors();
  }

  QTemporaryDir dir_;
  ChildProcess quarnd_;
  std::uint16_t port_ = 0;
};

// One seat writes whole packets, one dribbles every packet a byte at a time
// (after a run of garbage), one puts a chat into the write of every packet.
// All must see the very same table, byte for byte.
TEST_F(QuarndGameTest, FourPlayersBidPlayAWholeGameAndGetTheNextDeal) {
  ASSERT_NO_FATAL_FAILURE(Start({"--no-delay", "--bid"}));
  Players players = {
      std::make_unique<TestPlayer>(Utf8ToGbk("东方甲"), SendStyle::Whole),
      std::make_unique<TestPlayer>(Utf8ToGbk("北乙"), SendStyle::ByteByByte),
      std::make_unique<TestPlayer>("west", SendStyle::Whole),
      std::make_unique<TestPlayer>(Utf8ToGbk("南方丁丁"), SendStyle::WithChat),
  };
  std::array<TestPlayer*, 4> all{};
  std::transform(players.begin(), players.end(), all.begin(), [](auto& p) { return p.get(); });
  ASSERT_TRUE(LogIn(*players[0], 0));
  ASSERT_TRUE(players[1]->Connect(port_));
  ASSERT_TRUE(players[1]->SendRaw(std::vector<std::uint8_t>(300, 'x')));
  ASSERT_TRUE(players[1]->SendLogin(1));
  ASSERT_TRUE(PumpUntil([&] { return players[1]->Seat() >= 0; }, all, 10));
  ASSERT_TRUE(LogIn(*players[2], 2));
  ASSERT_TRUE(LogIn(*players[3], 3));  // the fourth login deals
  ASSERT_TRUE(PumpUntil(
      [&] { return std::all_of(all.begin(), all.end(), [](auto* p) { return p->Deals() >= 2; }); },
      all))
      << quarnd_.Output();

  for (int seat = 0; seat < 4; ++seat) {
    const TestPlayer& p = *all[static_cast<std::size_t>(seat)];
    EXPECT_EQ(p.Seat(), seat);
    EXPECT_TRUE(p.Faults().empty()) << p.Faults().front();
  }
  // The first bidder offered 5 and the others passed: it is landlord for 5
  // points, leads all its 33 cards and wins 3 x 5 from the three others.
  const int landlord = players[0]->FirstLandlord();
  ASSERT_GE(landlord, 0);
  EXPECT_EQ(players[0]->FirstPoints(), 5);
  ASSERT_TRUE(players[0]->FirstGameEnd());
  const GameEndRecord& end = *players[0]->FirstGameEnd();
  EXPECT_EQ(end.winner, landlord);
  for (std::size_t seat = 0; seat < 4; ++seat) {
    EXPECT_EQ(end.rounds[seat], 1);
    EXPECT_EQ(end.score[seat], static_cast<int>(seat) == landlord ? 15 : -5);
    EXPECT_EQ(end.name[seat], all[seat]->Name());
  }

  // The deal: 25 cards a seat and 8 for the landlord, every card of both decks once.
  std::array<int, 109> seen{};
  for (const TestPlayer* player : all) {
    EXPECT_EQ(player->FirstDeal().size(), 25u);
    for (std::uint8_t card : player->FirstDeal()) ++seen[card];
    for (std::uint8_t card : player->FirstExtras()) ++seen[card];
  }
  EXPECT_EQ(std::count(seen.begin() + 1, seen.end(), 1), 108);

  // The same table for everyone, whatever the way their bytes travelled.
  const auto& window = players[0]->Window();
  EXPECT_GT(window.size(), 33u * 8u);
  for (const TestPlayer* player : all) EXPECT_TRUE(player->Window() == window);
  const auto chats = std::count_if(window.begin(), window.end(), [](const auto& bytes) {
    return bytes[16] == 0xAB && bytes[17] == 0xAB && bytes[18] == 0x01 && bytes[19] == 0x71;
  });
  EXPECT_EQ(chats, players[3]->ChatsSentInWindow());
  EXPECT_GT(chats, 1);

  // SIGTERM: both files saved, GBK with CR LF; the run log also went to stdout.
  EXPECT_EQ(quarnd_.Terminate(), 0);
  const auto logs = ReadFilesStartingWith(dir_.path(), "Log");
  const auto heroes = ReadFilesStartingWith(dir_.path(), "Hero");
  ASSERT_FALSE(logs.empty());
  ASSERT_EQ(heroes.size(), 1u);
  for (const QByteArray& log : logs) EXPECT_TRUE(AllLinesEndInCrLf(log));
  const QByteArray& hero = heroes[0];
  EXPECT_TRUE(AllLinesEndInCrLf(hero));
  EXPECT_TRUE(logs[0].contains(Gbk("启动服务器")));
  EXPECT_TRUE(hero.contains("****[Table=1]"));
  EXPECT_TRUE(hero.contains(Gbk("[东方甲][坐东][总轮次=1]")));
  EXPECT_TRUE(hero.contains(Gbk("[南方丁丁][坐南][总轮次=1]")));
  EXPECT_NE(quarnd_.Output().find("启动服务器"), std::string::npos);
}

// With pacing on, every packet leaves before the pause that follows it, so a
// client that takes one read as one packet still sees them one by one.
TEST_F(QuarndGameTest, PacedPacketsLeaveOneByOne) {
  ASSERT_NO_FATAL_FAILURE(Start({"--delay-sync", "300", "--delay-deal", "300"}));
  std::array<WireClient, 4> clients;
  for (std::uint8_t seat = 0; seat < 4; ++seat) {
    WireClient& client = clients[seat];
    ASSERT_TRUE(client.Connect(port_));
    auto login = BuildPacket(MessageType::LoginRequest,
                             MakeLoginRequest("p" + std::to_string(seat), "", 1, 1, 1, seat));
    // Logins that arrive together are taken in any order: the last one waits
    // until the others are answered, so that it is the fourth.
    const auto answered = Clock::now() + std::chrono::seconds(10);
    for (std::uint8_t other = 0; seat == 3 && other < 3 && Clock::now() < answered;) {
      if (clients[other].ReadSizes().empty()) {
        clients[other].Read(50);
      } else {
        ++other;
      }
    }
    ASSERT_TRUE(login && client.Write(login->data()));
  }
  // The fourth player's reads: LoginReply, SeatList, DealCards, StartCardNotice, ...
  WireClient& last = clients[3];
  std::vector<MessageType> types;
  const auto end = Clock::now() + std::chrono::seconds(20);
  while (types.size() < 4 && Clock::now() < end) {
    quarnd_.Drain();
    for (const Packet& packet : last.Read(50))
      types.push_back(static_cast<MessageType>(packet.RawType()));
  }
  const std::vector<MessageType> expected = {MessageType::LoginReply, MessageType::SeatList,
                                             MessageType::DealCards, MessageType::StartCardNotice};
  ASSERT_GE(types.size(), 4u);
  EXPECT_TRUE(std::equal(expected.begin(), expected.end(), types.begin()));
  std::vector<std::size_t> sizes = last.ReadSizes();
  sizes.resize(4);
  EXPECT_EQ(sizes, (std::vector<std::size_t>{180, 180, 76, 76}));
}

// Table 1's deal pauses hold table 1 alone: a login to table 2 is answered at once.
TEST_F(QuarndGameTest, ALoginToAnotherTableIsAnsweredWhileATableDeals) {
  ASSERT_NO_FATAL_FAILURE(Start({"--tables", "2", "--delay-sync", "0", "--delay-deal", "3000"}));
  std::array<WireClient, 5> clients;
  const auto logIn = [&](std::uint8_t index, std::int32_t table) {
    auto login = BuildPacket(MessageType::LoginRequest,
                             MakeLoginRequest("p" + std::to_string(index), "", 1, 1, table,
                                              static_cast<std::uint8_t>(index % 4)));
    return clients[index].Connect(port_) && login && clients[index].Write(login->data());
  };
  const auto firstReply = [&](WireClient& client) {
    const auto end = Clock::now() + std::chrono::seconds(10);
    while (Clock::now() < end) {
      for (const Packet& packet : client.Read(5)) {
        if (packet.RawType() == static_cast<std::uint32_t>(MessageType::LoginReply)) return true;
      }
    }
    return false;
  };
  for (std::uint8_t index = 0; index < 4; ++index) {
    ASSERT_TRUE(logIn(index, 1));
    ASSERT_TRUE(firstReply(clients[index]));  // the fourth login starts the deal's pauses
  }
  const auto asked = Clock::now();
  ASSERT_TRUE(logIn(4, 2));
  ASSERT_TRUE(firstReply(clients[4]));
  const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - asked);
  EXPECT_LT(took.count(), 1000) << "a sleeping server would answer after the 3 s pause";
  std::printf("login answered in %lld ms while another table dealt\n",
              static_cast<long long>(took.count()));
  for (const Packet& packet : clients[0].Read(0)) {  // table 1 is still in its first pause
    EXPECT_NE(packet.RawType(), static_cast<std::uint32_t>(MessageType::DealCards));
  }
}

TEST_F(QuarndGameTest, AReaderThatGoesAwayDoesNotCostTheFiles) {
  ASSERT_NO_FATAL_FAILURE(Start({"--no-delay", "--log", "packets"}));
  quarnd_.CloseOutput();
  TestPlayer player(Utf8ToGbk("孤客"), SendStyle::Whole);
  ASSERT_TRUE(LogIn(player, 0));  // its log lines meet a broken pipe
  EXPECT_EQ(quarnd_.Terminate(), 0);
  const auto logs = ReadFilesStartingWith(dir_.path(), "Log");
  ASSERT_EQ(logs.size(), 1u);
  EXPECT_TRUE(logs[0].contains(Gbk("累计数据包[1]个。")));
  EXPECT_EQ(ReadFilesStartingWith(dir_.path(), "Hero").size(), 1u);
}

TEST(QuarndExitTest, TakenPortBadOptionsAndHelp) {
  QTcpServer taken;
  ASSERT_TRUE(taken.listen(QHostAddress::LocalHost, 0));
  const std::string port = std::to_string(taken.serverPort());
  QTemporaryDir dir;
  const std::filesystem::path quarnd = ProgramFolder() / "quarnd";
  RunResult run = RunProgram(
      quarnd, {"--port", port, "--bind", "127.0.0.1", "--dir", dir.path().toStdString()});
  EXPECT_EQ(run.code, 1);
  EXPECT_NE(run.err.find("cannot listen on port " + port), std::string::npos) << run.err;

  const std::vector<std::vector<std::string>> refused = {
      {"--points", "ten"},
      {"--port", "70000"},
      {"--what"},
      {"--delay-sync"},
      {"--bind", "not-an-address", "--port", "0"},
      {"--port", "0", "--bind", "127.0.0.1", "--dir", "/proc/quarn-no-such"}};
  for (const auto& args : refused) {
    run = RunProgram(quarnd, args);
    EXPECT_EQ(run.code, 1) << args[0];
    EXPECT_TRUE(run.err.starts_with("quarnd: ")) << run.err;
  }

  run = RunProgram(quarnd, {"--help"});
  EXPECT_EQ(run.code, 0);
  EXPECT_NE(run.out.find("--delay-deal"), std::string::npos);
}

}  // namespace
}  // namespace quarn::test
