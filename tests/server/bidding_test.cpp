// Bidding for the landlord.
#include "tests/server/harness.h"

namespace quarn::server::testing {
namespace {

struct BidCase {
  std::vector<int> bids;   // from the starting seat on; 0 passes, -1 offers 0 points
  std::uint32_t landlord;  // counted from the starting seat
  std::uint32_t points;
};

TEST(Bidding, TheHighestFirstBidWinsAndTheBottomGoesToItAlone) {
  for (const BidCase& c : {BidCase{{5, 5, 3, 0}, 0, 5}, BidCase{{0, 20, 30, 10}, 2, 30},
                           BidCase{{0, 0, 0, -1}, 0, 10}}) {
    Harness h(true);
    h.SeatFour();
    h.host.TakeSent();
    const std::uint32_t s = h.table().StartSeat();
    for (std::size_t i = 0; i < c.bids.size(); ++i) {
      const auto seat = static_cast<std::uint32_t>((s + i) % 4);
      if (c.bids[i] >= 0) {
        h.Bid(seat, c.bids[i]);
      } else {  // a BidOffer of 0 counts as no bid
        h.Send(h.SocketOf(seat), MessageType::BidOffer,
               BidRecord{1, static_cast<std::uint8_t>(seat), 0});
      }
    }
    const auto sent = h.host.TakeSent();
    // Three BidTurns to the table name the seats after the start, with the high bid so far.
    const auto turns = OfKind(sent, MessageType::BidTurn);
    ASSERT_EQ(turns.size(), 3u * 4u);
    EXPECT_EQ(Decoded<BidRecord>(turns[4], DecodeBidTurn).seat, (s + 2) % 4);
    const auto kinds = Kinds(sent);
    EXPECT_EQ(std::vector(kinds.end() - 5, kinds.end()),
              (std::vector{MessageType::BidResult, MessageType::BidResult, MessageType::BidResult,
                           MessageType::BidResult, MessageType::ExtraCards}));
    const std::uint32_t lord = (s + c.landlord) % 4;
    EXPECT_EQ(sent.back().connection, h.SocketOf(lord));
    const auto result = Decoded<BidRecord>(sent[sent.size() - 2], DecodeBidResult);
    EXPECT_EQ(std::tie(result.seat, result.points), std::tuple(lord, int(c.points)));
    const TServerTable& t = h.table();
    EXPECT_EQ(std::tie(t.Landlord, t.HighBid, t.Turn, t.Status),
              std::tuple(lord, c.points, lord, TablePlaying));
  }
}

TEST(Bidding, RefusedBidsLeaveTheTableAsItWas) {
  Harness h(true);
  h.SeatFour();
  const std::uint32_t s = h.table().StartSeat();
  h.Bid(s, 7);
  h.host.TakeSent();
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
  h.Pass(next);  // no play while bidding
  EXPECT_TRUE(h.host.TakeSent().empty());
  EXPECT_EQ(snapshot(), before);
  h.Bid(next, 9);
  EXPECT_EQ(h.table().HighBid, 9u);
}

}  // namespace
}  // namespace quarn::server::testing
