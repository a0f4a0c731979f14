// Several tables in one server: logins fill them in order, each plays its own
// games, nothing crosses from one to another, and a table that loses a player
// waits while the others play on.
#include <map>

#include "protocol/byte_order.h"
#include "tests/server/harness.h"

namespace quarn::server::testing {
namespace {

// The table number a packet carries (login answers keep it near their end).
std::int32_t TableIn(const SentPacket& sent) {
  const MessageType type = Kind(sent);
  const bool login = type == MessageType::LoginReply || type == MessageType::SeatList;
  return wire::GetI32(PacketFromBytes(sent.bytes), login ? 164 : 32);
}

TEST(Tables, ThreeTablesPlayAtOnceAndNothingCrosses) {
  Harness h(false, 3);
  std::map<ConnectionId, std::int32_t> tableOf;  // from each connection's LoginReply
  std::map<std::int32_t, int> gamesAt;
  std::vector<std::int32_t> given;
  // Every packet to a connection names that connection's table.
  const auto check = [&] {
    for (const SentPacket& sent : h.host.TakeSent()) {
      if (sent.connection == kNoConnection) continue;
      if (Kind(sent) == MessageType::LoginReply) {
        given.push_back(tableOf[sent.connection] = TableIn(sent));
      }
      ASSERT_EQ(TableIn(sent), tableOf.at(sent.connection))
          << MessageName(static_cast<std::uint32_t>(Kind(sent)));
      if (Kind(sent) == MessageType::GameEnd && sent.connection == h.SocketOf(0, TableIn(sent))) {
        ++gamesAt[TableIn(sent)];
      }
    }
  };
  // All ask for table 1: a full table sends the newcomer to the next one, and
  // only when all are full comes the refusal.
  for (ConnectionId id = 1; id <= 13; ++id) {
    h.Open(id);
    h.Login(id, "P" + std::to_string(id), static_cast<std::uint8_t>(id % 4));
    check();
  }
  EXPECT_EQ(given, (std::vector{1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, -1}));
  h.Send(h.SocketOf(2, 2), MessageType::ChatSay, ChatRecord{2, 2, "hi"});
  check();
  // The run log names the table of each line it can.
  const std::vector<std::string> lines(h.view.log.end() - 5, h.view.log.end());
  EXPECT_EQ(lines[0].substr(8), "[Table=2]累计数据包[14]个。");
  EXPECT_EQ(lines[4].substr(8), "[Table=2][发送数据包]104");

  bool left = false, refilled = false;
  for (int round = 0; round < 3000; ++round) {
    for (std::int32_t number = 1; number <= 3; ++number) h.LandlordLeads(number);
    check();
    if (gamesAt[2] == 1 && !left) {  // one of table 2 leaves; the others play on
      h.app.ConnectionClosed(h.SocketOf(1, 2));
      left = true;
      check();
      EXPECT_EQ(std::tie(h.table(2).Status, h.table(2).Count), std::tuple(TableWaiting, 3u));
    }
    if (gamesAt[1] == 3 && !refilled) {  // a newcomer for full table 1 fills table 2
      h.Open(14);
      h.Login(14, "New");
      refilled = true;
      check();
    }
    if (gamesAt[1] >= 4 && gamesAt[2] >= 2 && gamesAt[3] >= 4) break;
  }
  EXPECT_GE(gamesAt[1], 4);
  EXPECT_EQ(gamesAt[2], 2);
  EXPECT_GE(gamesAt[3], 4);
  EXPECT_EQ(h.SocketOf(1, 2), 14u);
  const auto headers =
      std::count_if(h.view.hero.begin(), h.view.hero.end(),
                    [](const std::string& line) { return line.starts_with("****[Table=2]"); });
  EXPECT_EQ(headers, 2);
}

// A server holding a range of table numbers seats a login only at a table of
// its range and refuses any other; without a range a login naming a table
// that is not there gets a free one, as before.
TEST(Tables, ARangeTakesItsOwnNumbersAndRefusesTheRest) {
  struct Case {
    std::uint32_t firstTable;
    std::int32_t named;
    std::int32_t given;
  };
  const Case cases[] = {
      {11, 11, 11}, {11, 12, 12}, {11, 1, -1}, {11, 10, -1}, {11, 13, -1},
      {11, 0, -1},  {11, -5, -1}, {0, 2, 2},   {0, 13, 1},   {0, 0, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.firstTable) + " " + std::to_string(c.named));
    Harness h(ServerSettings{.tables = 2, .firstTable = c.firstTable});
    h.Open(1);
    h.Login(1, "P", 0, c.named);
    const auto sent = h.host.TakeSent();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(TableIn(sent.front()), c.given);
    if (c.given > 0) {
      EXPECT_EQ(h.table(c.given).Count, 1u);
    }
  }
}

}  // namespace
}  // namespace quarn::server::testing
