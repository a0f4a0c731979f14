// Bidding for the landlord over the whole server.
#include "tests/server/harness.h"

namespace quarn::server::testing {
namespace {

struct BidState {
  std::int8_t status;
  std::uint32_t turn, landlord, highBid;
  std::array<std::uint32_t, 4> bids;
  bool operator==(const BidState&) const = default;
};

BidState Snapshot(const TServerTable& t) {
  return {t.Status,
          t.Turn,
          t.Landlord,
          t.HighBid,
          {t.Players[0].Bid, t.Players[1].Bid, t.Players[2].Bid, t.Players[3].Bid}};
}

// Seats four players with bidding on and returns the starting seat.
std::uint32_t Deal(Harness& h) {
  h.SeatFour();
  h.host.TakeSent();
  return h.table().StartSeat();
}

BidRecord DecodeBid(const SentPacket& sent) {
  BidRecord bid;
  EXPECT_EQ(DecodeBidTurn(bid, PacketFromBytes(sent.bytes)), 0);
  return bid;
}

TEST(Bidding, FirstOfEqualBidsWins) {
  Harness h("bid_5530", true);
  const std::uint32_t s = Deal(h);
  std::vector<SentPacket> sent;
  const int bids[] = {5, 5, 3, 0};
  for (int i = 0; i < 4; ++i) {
    h.Bid((s + i) % 4, bids[i]);
    auto step = h.host.TakeSent();
    sent.insert(sent.end(), step.begin(), step.end());
  }
  // Three BidTurns to the table, naming the seats after the start in order.
  const auto turns = OfKind(sent, MessageType::BidTurn);
  ASSERT_EQ(turns.size(), 12u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(DecodeBid(turns[i * 4]).seat, (s + 1 + i) % 4);
    EXPECT_EQ(DecodeBid(turns[i * 4]).points, 5);
  }
  // Then BidResult to the table and the bottom cards to the landlord alone.
  const std::vector<MessageType> kinds = Kinds(sent);
  const std::vector<MessageType> tail(kinds.end() - 5, kinds.end());
  EXPECT_EQ(tail,
            (std::vector{MessageType::BidResult, MessageType::BidResult, MessageType::BidResult,
                         MessageType::BidResult, MessageType::ExtraCards}));
  EXPECT_EQ(sent.back().connection, h.SocketOf(s));
  const TServerTable& t = h.table();
  EXPECT_EQ(t.Landlord, s);
  EXPECT_EQ(t.HighBid, 5u);
  EXPECT_EQ(t.Players[(s + 1) % 4].Bid, 0u);
  EXPECT_EQ(t.Turn, s);
  EXPECT_EQ(t.Status, TablePlaying);
  EXPECT_EQ(t.Players[s].Hand.Count(), 33);
}

TEST(Bidding, HighestBidAndAllPass) {
  {
    Harness h("bid_0_20_30_10", true);
    const std::uint32_t s = Deal(h);
    const int bids[] = {0, 20, 30, 10};
    for (int i = 0; i < 4; ++i) h.Bid((s + i) % 4, bids[i]);
    EXPECT_EQ(h.table().Landlord, (s + 2) % 4);
    EXPECT_EQ(h.table().HighBid, 30u);
    EXPECT_EQ(h.table().Players[(s + 2) % 4].Hand.Count(), 33);
  }
  {
    Harness h("bid_all_pass", true);
    const std::uint32_t s = Deal(h);
    // A BidOffer of 0 counts as no bid, like a pass.
    h.Send(h.SocketOf(s), MessageType::BidOffer, BidRecord{1, static_cast<std::uint8_t>(s), 0});
    for (int i = 1; i < 4; ++i) h.Bid((s + i) % 4, 0);
    EXPECT_EQ(h.table().Landlord, s);
    EXPECT_EQ(h.table().HighBid, 10u);
    BidRecord result;
    DecodeBidResult(result,
                    PacketFromBytes(OfKind(h.host.TakeSent(), MessageType::BidResult)[0].bytes));
    EXPECT_EQ(result.seat, s);
    EXPECT_EQ(result.points, 10);
  }
}

TEST(Bidding, RefusedBidsLeaveTheTableAsItWas) {
  Harness h("bid_refused", true);
  const std::uint32_t s = Deal(h);
  h.Bid(s, 7);
  h.host.TakeSent();
  const BidState before = Snapshot(h.table());
  const std::uint32_t next = (s + 1) % 4;
  const auto other = static_cast<std::uint8_t>((s + 2) % 4);
  h.Bid(other, 9);                                                          // not this seat's turn
  h.Send(h.SocketOf(next), MessageType::BidOffer, BidRecord{1, other, 9});  // names another seat
  h.Send(h.SocketOf(next), MessageType::BidOffer,
         BidRecord{7, static_cast<std::uint8_t>(next), 9});  // another table
  Packet bad =
      *BuildPacket(MessageType::BidOffer, BidRecord{1, static_cast<std::uint8_t>(next), 9});
  bad.bytes[36] = 4;  // does not decode
  h.Receive(h.SocketOf(next), bad);
  h.Open(9);  // a stranger
  h.Send(9, MessageType::BidOffer, BidRecord{1, static_cast<std::uint8_t>(next), 9});
  // Plays and passes are not taken while bidding.
  h.Pass(next);
  EXPECT_TRUE(h.host.TakeSent().empty());
  EXPECT_EQ(Snapshot(h.table()), before);
  // The same seat may still bid.
  h.Bid(next, 9);
  EXPECT_EQ(h.table().HighBid, 9u);
}

}  // namespace
}  // namespace quarn::server::testing
