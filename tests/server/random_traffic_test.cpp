// Random requests, some valid and some not, from connections that come and
// go: the server never breaks its own records.
#include <random>

#include "tests/server/harness.h"

namespace quarn::server::testing {
namespace {

Packet RandomRequest(std::mt19937& random, const TServerTable& table) {
  std::uniform_int_distribution<int> pick(0, 255);
  const auto seat = static_cast<std::uint8_t>(pick(random) % 5);
  const auto points = pick(random) % 40;
  switch (pick(random) % 6) {
    case 0:
      return *BuildPacket(MessageType::LoginRequest,
                          MakeLoginRequest("P" + std::to_string(pick(random)), "", 1, 1, 1, seat));
    case 1:
      return *BuildPacket(MessageType::BidOffer,
                          BidRecord{1, static_cast<std::uint8_t>(seat % 4), points});
    case 2:
      return *BuildPacket(MessageType::PlayPass, SeatRecord{1, seat});
    case 3: {
      // Often a real card of the seat whose turn it is.
      PlayRecord play{.tableNumber = 1, .seat = static_cast<std::uint8_t>(table.Turn), .count = 1};
      const TPoker& card = table.Players[table.Turn].Hand.Card(pick(random) % 33);
      play.cards[0] = static_cast<std::uint8_t>(card.IsPresent() ? card.Number() : 1);
      play.comboType = 1;
      play.keyRank = static_cast<std::uint8_t>(card.Rank());
      return *BuildPacket(MessageType::PlayCards, play);
    }
    case 4:
      return *BuildPacket(MessageType::ChatSay,
                          ChatRecord{1, static_cast<std::uint8_t>(seat % 4), "hi"});
    default: {
      Packet garbage = *BuildPacket(MessageType::BidPass, BidRecord{1, 0, 0});
      for (std::size_t i = 32; i < garbage.length; ++i) {
        garbage.bytes[i] = static_cast<std::uint8_t>(pick(random));
      }
      return garbage;
    }
  }
}

TEST(RandomTraffic, RecordsStayConsistent) {
  for (const bool allowBid : {false, true}) {
    Harness h(allowBid);
    std::mt19937 random(allowBid ? 7 : 11);
    std::set<ConnectionId> open;
    ConnectionId nextId = 1;
    std::size_t plays = 0, deals = 0;
    for (int step = 0; step < 20000; ++step) {
      const int action = static_cast<int>(random() % 100);
      if (action < 3 || open.empty()) {
        h.Open(nextId);
        open.insert(nextId++);
      } else if (action < 4) {
        const ConnectionId gone = *std::next(open.begin(), random() % open.size());
        h.app.ConnectionClosed(gone);
        open.erase(gone);
      } else {
        const ConnectionId from = *std::next(open.begin(), random() % open.size());
        // Mostly the seat whose turn it is, so games get played.
        const ConnectionId sender = random() % 4 ? h.SocketOf(h.table().Turn) : from;
        h.Receive(sender == kNoConnection ? from : sender, RandomRequest(random, h.table()));
      }
      const auto sent = h.host.TakeSent();
      plays += OfKind(sent, MessageType::PlayNotice).size();
      deals += OfKind(sent, MessageType::DealCards).size();
      const TServerTable& t = h.table();
      std::uint32_t taken = 0;
      for (const TServerPlayer& player : t.Players) {
        taken += player.Taken() ? 1 : 0;
        ASSERT_EQ(player.Taken(), player.Socket != kNoConnection);
        if (player.Taken()) {
          ASSERT_TRUE(open.count(player.Socket));
        }
      }
      ASSERT_EQ(t.Count, taken);
      ASSERT_TRUE(t.Status == TableWaiting || t.Status == TableBidding || t.Status == TablePlaying);
      ASSERT_EQ(t.Status == TableWaiting, taken < 4);
    }
    EXPECT_GT(plays, 1000u);    // the traffic reached the game, not only the refusals
    EXPECT_GE(deals, 2u * 4u);  // at least two deals
  }
}

}  // namespace
}  // namespace quarn::server::testing
