// Paced steps on the fake clock: a table's packets keep their order and
// spacing, its own requests wait for its steps, nothing else does, and a lost
// connection cuts the steps cleanly.
#include "tests/server/harness.h"

namespace quarn::server::testing {
namespace {

using std::chrono::milliseconds;

// "Type@ms" of each packet to `connection`, the clock counted from `start`.
std::vector<std::string> Seen(const std::vector<SentPacket>& sent, ConnectionId connection,
                              milliseconds start) {
  std::vector<std::string> seen;
  for (const SentPacket& packet : sent) {
    if (packet.connection != connection) continue;
    seen.push_back(std::string(MessageName(PacketFromBytes(packet.bytes).RawType())) + "@" +
                   std::to_string((packet.at - start).count()));
  }
  return seen;
}

TEST(Pacing, TheTableWaitsForItsStepsAndNothingElseDoes) {
  Harness h(true);
  h.settle = false;
  for (ConnectionId id = 1; id <= 3; ++id) {
    h.Open(id);
    h.Login(id, "P" + std::to_string(id));
    h.host.RunTimers();
  }
  h.host.TakeSent();
  const milliseconds start = h.host.elapsed;
  h.Open(4);
  h.Login(4, "Dee");                                        // its seat list after 200 ms
  h.Send(1, MessageType::ChatSay, ChatRecord{1, 0, "hi"});  // the table's own: waits
  h.Open(5);
  h.Login(5, "Eve");  // the table is full: refused at once, unanswered
  h.app.DumpDiagnostics();
  EXPECT_EQ(h.view.log[h.view.log.size() - 2].substr(8),
            "[Status=1][Count=4][Players=(1)(2)(3)(4)]");
  h.host.Advance(milliseconds(199));
  EXPECT_EQ(Kinds(h.host.TakeSent()), std::vector{MessageType::LoginReply});
  h.host.Advance(milliseconds(2000));
  EXPECT_EQ(Seen(h.host.TakeSent(), 1, start),
            (std::vector<std::string>{"SeatList@200", "DealCards@700", "StartCardNotice@1200",
                                      "BidStart@1700", "ChatNotice@1700"}));

  // Lost in the deal's pauses: the leave at once, the rest of the deal never.
  h.app.ConnectionClosed(2);
  h.Open(6);
  h.Login(6, "Fay");
  h.host.Advance(milliseconds(700));
  EXPECT_EQ(h.table().Status, TableDealing);
  h.host.TakeSent();
  h.app.ConnectionClosed(3);
  h.host.RunTimers();  // stale: finds nothing to do
  EXPECT_EQ(Kinds(h.host.TakeSent()), std::vector(3, MessageType::PlayerLeave));
  EXPECT_EQ(std::tie(h.table().Status, h.table().Count), std::tuple(TableWaiting, 3u));

  // Lost while a seat list is due: the list first (it names the seats taken),
  // then the leave; no deal follows.
  h.Open(7);
  h.Login(7, "Gus");
  h.host.TakeSent();
  h.app.ConnectionClosed(4);
  h.host.RunTimers();
  const auto kinds = Kinds(h.host.TakeSent());
  EXPECT_EQ(kinds, (std::vector{MessageType::SeatList, MessageType::SeatList, MessageType::SeatList,
                                MessageType::PlayerLeave, MessageType::PlayerLeave,
                                MessageType::PlayerLeave}));
  EXPECT_EQ(std::tie(h.table().Status, h.table().Count), std::tuple(TableWaiting, 3u));
}

TEST(Pacing, LoginsAtOnceKeepTheirSpacingAndAnotherTableIsServedMeanwhile) {
  Harness h(true, 3);
  h.settle = false;
  for (ConnectionId id = 1; id <= 4; ++id) {  // each waits for the list of the one before
    h.Open(id);
    h.Login(id, "P" + std::to_string(id), static_cast<std::uint8_t>(id - 1));
  }
  h.host.Advance(milliseconds(1000));
  ASSERT_EQ(h.table(1).Status, TableDealing);
  h.Open(5);
  h.Login(5, "Eve", 0, 2);                    // answered now, in the middle of table 1's deal
  for (ConnectionId id = 6; id <= 7; ++id) {  // table 1 is full: they join Eve, in turn
    h.Open(id);
    h.Login(id, "P" + std::to_string(id));
  }
  h.host.Advance(milliseconds(2000));
  const auto sent = h.host.TakeSent();
  EXPECT_EQ(Seen(sent, 1, milliseconds(0)),
            (std::vector<std::string>{"LoginReply@0", "SeatList@200", "SeatList@400",
                                      "SeatList@600", "SeatList@800", "DealCards@1300",
                                      "StartCardNotice@1800", "BidStart@2300"}));
  EXPECT_EQ(Seen(sent, 5, milliseconds(0)),
            (std::vector<std::string>{"LoginReply@1000", "SeatList@1200", "SeatList@1400",
                                      "SeatList@1600"}));
  EXPECT_EQ(h.table(2).Count, 3u);
}

TEST(Pacing, AFloodingConnectionIsClosedAndNobodyElsesRequestIsDropped) {
  Harness h(ServerSettings{.allowDelay = true, .keepSeats = true});
  h.settle = false;
  h.SeatFour();
  while (h.table().Players[0].Hand.Count() == 0) h.host.Advance(milliseconds(50));
  ASSERT_EQ(h.table().Status, TableDealing);
  const std::uint32_t mover = h.table().StartSeat();
  const std::uint32_t flooder = (mover + 1) % 4;
  const ConnectionId flooding = h.SocketOf(flooder);
  for (int i = 0; i < 100; ++i) h.Send(flooding, MessageType::ChatSay, ChatRecord{1, 0, "spam"});
  h.PlayLowest(mover);  // waits for the deal's steps behind the flood
  EXPECT_EQ(h.host.closed, std::vector{flooding});
  const std::string line =
      "[错误]连接[" + std::to_string(flooding) + "]等待处理的请求超过32个，已断开";
  EXPECT_EQ(std::count_if(h.view.log.begin(), h.view.log.end(),
                          [&line](const std::string& l) { return l.ends_with(line); }),
            1);
  h.host.Advance(milliseconds(2000));
  ASSERT_FALSE(h.table().History.empty());
  EXPECT_EQ(h.table().History[0].seat, mover);
  EXPECT_EQ(h.table().Players[flooder].Socket, kNoConnection);  // kept for the computer
}

}  // namespace
}  // namespace quarn::server::testing
