// Bidding for the landlord.
#include "tests/server/harness.h"

namespace quarn::server::testing {
namespace {

// Deals with bidding on, bids `bids` from the starting seat on, and returns
// the starting seat; the sends of the bidding are left in `sent`.
std::uint32_t BidRound(Harness& h, std::vector<int> bids, std::vector<SentPacket>& sent) {
  h.SeatFour();
  h.host.TakeSent();
  const std::uint32_t start = h.table().StartSeat();
  for (std::size_t i = 0; i < bids.size(); ++i) h.Bid((start + i) % 4, bids[i]);
  sent = h.host.TakeSent();
  return start;
}

TEST(Bidding, FirstOfEqualBidsWins) {
  Harness h(true);
  std::vector<SentPacket> sent;
  const std::uint32_t s = BidRound(h, {5, 5, 3, 0}, sent);
  // Three BidTurns to the table name the seats after the start, with the high bid.
  const auto turns = OfKind(sent, MessageType::BidTurn);
  ASSERT_EQ(turns.size(), 3u * 4u);
  for (std::uint32_t i = 0; i < 3; ++i) {
    const auto turn = Decoded<BidRecord>(turns[i * 4], DecodeBidTurn);
    EXPECT_EQ(turn.seat, (s + 1 + i) % 4);
    EXPECT_EQ(turn.points, 5);
  }
  // Then the result to the table and the bottom cards to the landlord alone.
  const auto kinds = Kinds(sent);
  EXPECT_EQ(std::vector(kinds.end() - 5, kinds.end()),
            (std::vector{MessageType::BidResult, MessageType::BidResult, MessageType::BidResult,
                         MessageType::BidResult, MessageType::ExtraCards}));
  EXPECT_EQ(sent.back().connection, h.SocketOf(s));
  const TServerTable& t = h.table();
  EXPECT_EQ(std::tie(t.Landlord, t.HighBid, t.Turn), std::tuple(s, 5u, s));
  EXPECT_EQ(t.Players[(s + 1) % 4].Bid, 0u);
  EXPECT_EQ(t.Status, TablePlaying);
}

TEST(Bidding, HighestBidAndAllPass) {
  Harness high(true);
  std::vector<SentPacket> sent;
  const std::uint32_t s = BidRound(high, {0, 20, 30, 10}, sent);
  EXPECT_EQ(high.table().Landlord, (s + 2) % 4);
  EXPECT_EQ(high.table().HighBid, 30u);

  Harness none(true);
  const std::uint32_t start = BidRound(none, {0, 0, 0}, sent);
  // A BidOffer of 0 counts as no bid.
  none.Send(none.SocketOf((start + 3) % 4), MessageType::BidOffer,
            BidRecord{1, static_cast<std::uint8_t>((start + 3) % 4), 0});
  const auto result =
      Decoded<BidRecord>(OfKind(none.host.TakeSent(), MessageType::BidResult)[0], DecodeBidResult);
  EXPECT_EQ(std::tie(result.seat, result.points), std::tuple(start, 10));
  EXPECT_EQ(none.table().HighBid, 10u);
}

TEST(Bidding, RefusedBidsLeaveTheTableAsItWas) {
  Harness h(true);
  std::vector<SentPacket> sent;
  const std::uint32_t s = BidRound(h, {7}, sent);
  const auto next = static_cast<std::uint8_t>((s + 1) % 4);
  const auto other = static_cast<std::uint8_t>((s + 2) % 4);
  const auto snapshot = [&] {
    const TServerTable& t = h.table();
    return std::tuple(t.Status, t.Turn, t.Landlord, t.HighBid, t.Players[other].Bid);
  };
  const auto before = snapshot();
  h.Bid(other, 9);                                                          // not its turn
  h.Send(h.SocketOf(next), MessageType::BidOffer, BidRecord{1, other, 9});  // names another seat
  h.Send(h.SocketOf(next), MessageType::BidOffer, BidRecord{7, next, 9});   // another table
  Packet bad = *BuildPacket(MessageType::BidOffer, BidRecord{1, next, 9});
  bad.bytes[36] = 4;  // does not decode
  h.Receive(h.SocketOf(next), bad);
  h.Open(9);  // a stranger
  h.Send(9, MessageType::BidOffer, BidRecord{1, next, 9});
  h.Pass(next);  // no play while bidding
  EXPECT_TRUE(h.host.TakeSent().empty());
  EXPECT_EQ(snapshot(), before);
  h.Bid(next, 9);  // the same seat may bid again
  EXPECT_EQ(h.table().HighBid, 9u);
}

}  // namespace
}  // namespace quarn::server::testing
