// Read events, strangers, stop and start.
#include "server/connections.h"
#include "tests/server/harness.h"

namespace quarn::server::testing {
namespace {

TEST(Connections, ReadEventsCountedLoggedAndSendsRetried) {
  Harness h;
  h.Open(1);
  h.app.BytesReceived(1, std::vector<std::uint8_t>(50, 0x55));  // garbage: dropped unseen
  h.Receive(1, *BuildPacket(MessageType::BidResult, BidRecord{1, 0, 5}));  // counted, dropped
  EXPECT_EQ(h.app.PacketCount(), 1);
  EXPECT_EQ(h.view.log.back(), "14:40:34累计数据包[1]个。");
  h.host.failSends = 1;  // one failed send is tried again
  h.Login(1, "Ann");
  EXPECT_EQ(h.host.failedSends, 1);
  EXPECT_EQ(OfKind(h.host.TakeSent(), MessageType::LoginReply).size(), 1u);
  EXPECT_NE(std::find(h.view.log.begin(), h.view.log.end(), "14:40:34[发送数据包]180"),
            h.view.log.end());
  // A connection never opened reaches nothing.
  h.app.BytesReceived(
      77, BuildPacket(MessageType::LoginRequest, MakeLoginRequest("Eve", "", 1, 1, 1, 0))->data());
  EXPECT_EQ(h.app.PacketCount(), 2);
  EXPECT_EQ(h.table().Count, 1u);
}

// The limit grows by four strangers a table, so that a rush of logins for
// many tables is not turned away.
TEST(Connections, StrangersAreBoundedAndTimedOut) {
  for (const auto& [tables, limit] : {std::pair{1u, 32u}, std::pair{3u, 40u}}) {
    Harness h(false, tables);
    h.Open(1);
    h.Login(1, "Ann");
    for (ConnectionId id = 2; id < 2 + limit; ++id) h.Open(id);
    h.Open(100);  // one stranger too many
    EXPECT_EQ(h.host.closed, std::vector<ConnectionId>{100});
    h.host.closed.clear();
    const auto opened = h.host.elapsed;  // after Ann's paced seat list
    h.host.elapsed = opened + std::chrono::seconds(59);
    h.app.Tick();
    EXPECT_TRUE(h.host.closed.empty());
    h.Login(2, "Bob");  // logged in in time
    h.host.elapsed = opened + std::chrono::seconds(60);
    h.app.Tick();
    EXPECT_EQ(h.host.closed.size(), limit - 1);
    EXPECT_EQ(std::count(h.host.closed.begin(), h.host.closed.end(), 2u), 0);
    EXPECT_EQ(h.app.OpenConnections(), 2u);
    h.host.TakeSent();
    h.app.ConnectionClosed(3);  // already forgotten
    EXPECT_TRUE(h.host.TakeSent().empty());
  }
}

TEST(Connections, StopFreesEverySeatAndStartsOnce) {
  Harness h(true);
  h.SeatFour();
  h.host.TakeSent();
  h.app.Stop();
  EXPECT_FALSE(h.host.listening);
  EXPECT_EQ(h.host.closed, (std::vector<ConnectionId>{1, 2, 3, 4}));
  EXPECT_EQ(h.view.status, "服务器已停止...");
  EXPECT_EQ(h.view.log.back(), "14:40:36停止服务器");  // after 2.3 s of paced seating and deal
  const TServerTable& t = h.table();
  EXPECT_EQ(std::tie(t.Count, t.Status), std::tuple(0u, TableWaiting));
  for (const TServerPlayer& player : t.Players) EXPECT_EQ(player.Socket, kNoConnection);
  const auto leaves = OfKind(h.host.TakeSent(), MessageType::PlayerLeave);
  EXPECT_EQ(leaves.size(), 3u + 2u + 1u);  // to those still connected, never to itself
  EXPECT_EQ(std::count_if(leaves.begin(), leaves.end(),
                          [](const SentPacket& leave) { return leave.connection == 1; }),
            0);
  h.app.ConnectionClosed(2);  // late reports are no-ops
  h.app.BytesReceived(3, BuildPacket(MessageType::ChatSay, ChatRecord{1, 2, "late"})->data());
  h.Open(5);  // not taken while stopped
  EXPECT_TRUE(h.host.TakeSent().empty());
  EXPECT_EQ(h.host.closed.back(), 5u);

  // A refused start is the console test's; here the restart takes its new settings once.
  EXPECT_EQ(h.app.Start({.allowDelay = false}), StartResult::Started);
  EXPECT_EQ(h.app.Start(ServerSettings{}), StartResult::AlreadyListening);
  EXPECT_EQ(h.host.listenCalls, 2);
  h.host.pauses.clear();
  for (ConnectionId id = 6; id <= 9; ++id) {
    h.Open(id);
    h.Login(id, "N" + std::to_string(id));
  }
  EXPECT_EQ(t.Players[0].Id, 5);  // ids go on counting
  EXPECT_EQ(t.Status, TablePlaying);
  EXPECT_TRUE(h.host.pauses.empty());  // the settings of the last start hold
}

}  // namespace
}  // namespace quarn::server::testing
