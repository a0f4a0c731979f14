#include <gtest/gtest.h>

#include <numeric>

#include "protocol/packet_builder.h"
#include "test_bytes.h"

namespace quarn {
namespace {

using enum MessageType;
using test::Bytes;
using test::Refuses;
using test::ToBytes;

DealRecord Hand(std::uint8_t seat, std::uint8_t count, std::uint8_t first) {
  DealRecord r{1, seat, count, {}};
  std::iota(r.cards.begin(), r.cards.begin() + count, first);
  return r;
}

TEST(Deal, OffsetsAndCounts) {
  Bytes expected = test::Frame(0xABAB01EC, 76, {{32, {0, 0, 0, 1, 3, 25}}});
  std::iota(expected.begin() + 41, expected.begin() + 66, 80);  // 38..40 and 66..67 stay 0
  const auto deal = BuildPacket(DealCards, Hand(3, 25, 80));
  ASSERT_TRUE(deal);
  EXPECT_EQ(ToBytes(*deal), expected);
  DealRecord got;
  got.cards.fill(99);
  ASSERT_EQ(DecodeDealCards(got, *deal), 0);
  EXPECT_EQ(got.count, 25);
  EXPECT_EQ(got.cards[24], 104);

  // The start card always goes out with count 1, and stale places are cleared.
  EXPECT_EQ(test::Built(StartCardNotice, Hand(2, 5, 17)),
            test::Frame(0xABAB01E9, 76, {{32, {0, 0, 0, 1, 2, 1, 0, 0, 0, 17}}}));
  ASSERT_EQ(DecodeStartCardNotice(got, *BuildPacket(StartCardNotice, Hand(2, 5, 17))), 0);
  EXPECT_EQ(got.count, 1);
  EXPECT_EQ(got.cards[1], 0);

  EXPECT_TRUE(BuildPacket(ExtraCards, Hand(0, 8, 101)));
  EXPECT_FALSE(BuildPacket(ExtraCards, Hand(0, 7, 1)));
  EXPECT_FALSE(BuildPacket(DealCards, Hand(4, 25, 1)));
  EXPECT_FALSE(BuildPacket(DealCards, Hand(0, 25, 90)));  // reaches 114
  DealRecord tooMany = Hand(0, 25, 1);
  tooMany.count = 26;
  EXPECT_FALSE(BuildPacket(DealCards, tooMany));
}

struct Refusal {
  MessageType type;
  std::size_t at;
  std::uint8_t value;
  bool refused;
};

TEST(Deal, DecoderRefusals) {
  const Packet deal = *BuildPacket(DealCards, Hand(1, 25, 1));
  const Packet extra = *BuildPacket(ExtraCards, Hand(0, 8, 101));
  for (const Refusal& r : {
           Refusal{DealCards, 36, 4, true},
           Refusal{DealCards, 37, 26, true},
           Refusal{DealCards, 41, 0, true},
           Refusal{DealCards, 65, 109, true},
           Refusal{DealCards, 66, 109, false},  // beyond the count: not read
           Refusal{ExtraCards, 37, 25, true},   // must be exactly 8
           Refusal{ExtraCards, 37, 8, false},
           Refusal{StartCardNotice, 37, 2, true},
           Refusal{StartCardNotice, 37, 1, false},
           Refusal{StartCardNotice, 41, 0, true},
       }) {
    EXPECT_EQ(Refuses<DealRecord>(r.type, deal, r.at, r.value), r.refused) << r.at;
  }
  EXPECT_FALSE(Refuses<DealRecord>(ExtraCards, extra, 48, 101));
  EXPECT_TRUE(Refuses<DealRecord>(ExtraCards, extra, 48, 109));  // the eighth card
}

TEST(Bid, PointsSeatAndRelay) {
  const auto offer = BuildPacket(BidOffer, BidRecord{1, 2, 300});
  ASSERT_TRUE(offer);
  // 300 goes out as its low byte.
  EXPECT_EQ(ToBytes(*offer), test::Frame(0xABAB00FC, 48, {{32, {0, 0, 0, 1, 2, 44}}}));
  BidRecord got;
  for (const MessageType type : {BidOffer, BidPass, BidTurn, BidStart, BidResult}) {
    EXPECT_EQ(DecodeBody(type, got, *offer), 0);
    EXPECT_EQ(got.points, 44);
    EXPECT_EQ(got.seat, 2);
  }
  // A refused seat is still written, then reported.
  Packet packet = *offer;
  EXPECT_EQ(EncodeBidTurn(BidRecord{5, 4, 7}, packet), 1);
  EXPECT_EQ(packet.bytes[35], 5);
  EXPECT_EQ(packet.bytes[36], 4);
  EXPECT_EQ(DecodeBidTurn(got, packet), 1);
  packet.length = 47;
  EXPECT_EQ(DecodeBidOffer(got, packet), 1);
  EXPECT_EQ(EncodeBidOffer(BidRecord{1, 0, 1}, packet), 1);
}

PlayRecord Pair(std::uint8_t seat) {
  return {
      .tableNumber = 1, .seat = seat, .count = 2, .cards = {1, 2}, .comboType = 2, .keyRank = 1};
}

TEST(Play, PairOfThreesIsByteExact) {
  EXPECT_EQ(test::Built(PlayCards, Pair(2)),
            test::Frame(0xABAB00AA, 96, {{32, {0, 0, 0, 1, 2, 2, 1, 2}}, {71, {2, 1}}}));
}

TEST(Play, CountsCardsAndPasses) {
  PlayRecord full = Pair(0);
  full.count = 33;
  std::iota(full.cards.begin(), full.cards.end(), 76);  // up to 108
  const auto packet = BuildPacket(PlayCards, full);
  ASSERT_TRUE(packet);
  PlayRecord got;
  ASSERT_EQ(DecodePlayCards(got, *packet), 0);
  EXPECT_EQ(got.cards, full.cards);
  for (const std::uint8_t count : {34, 0}) {  // a play of no cards is not a play
    full.count = count;
    EXPECT_FALSE(BuildPacket(PlayCards, full)) << int{count};
  }
  PlayRecord badCard = Pair(0);
  badCard.cards[1] = 109;
  EXPECT_FALSE(BuildPacket(PlayCards, badCard));
  for (const auto& [at, value] :
       std::vector<std::pair<std::size_t, std::uint8_t>>{{36, 4}, {37, 34}, {38, 0}, {70, 109}}) {
    EXPECT_TRUE(Refuses<PlayRecord>(PlayCards, *packet, at, value)) << at;
    EXPECT_TRUE(Refuses<PlayRecord>(PlayNotice, *packet, at, value)) << at;
  }

  const Packet pass = test::With(*packet, 37, 0);
  EXPECT_EQ(DecodePlayCards(got, pass), 1);
  got.cards.fill(5);
  got.comboType = 7;
  EXPECT_EQ(DecodePlayNotice(got, pass), 0);  // card places are not read
  EXPECT_EQ(got.count, 0);
  EXPECT_EQ(got.cards[0], 0);  // and nothing of an earlier play remains
  EXPECT_EQ(got.comboType, 0);
  // A decoded play clears the record's places beyond the count.
  ASSERT_EQ(DecodePlayCards(got, *BuildPacket(PlayCards, Pair(1))), 0);
  EXPECT_EQ(got.cards[2], 0);
  EXPECT_EQ(got.comboType, 2);
}

TEST(Play, NoticeOfAPassAndTheTurnInThePassBuffer) {
  auto pass = BuildPacket(PlayPass, SeatRecord{1, 3});
  ASSERT_TRUE(pass);
  EXPECT_EQ(ToBytes(*pass), test::Frame(0xABAB00AD, 96, {{32, {0, 0, 0, 1, 3}}}));
  PlayRecord notice;
  notice.tableNumber = 1;
  notice.seat = 3;
  notice.comboType = 9;  // not written for a pass
  ASSERT_EQ(RewriteHeader(*pass, PlayNotice), 0);
  ASSERT_EQ(EncodePlayNotice(notice, *pass), 0);
  EXPECT_EQ(pass->bytes[71], 0);
  PlayRecord got;
  ASSERT_EQ(DecodePlayNotice(got, *pass), 0);
  EXPECT_EQ(got.seat, 3);
  EXPECT_EQ(got.count, 0);

  ASSERT_EQ(RewriteHeader(*pass, PlayTurn), 0);
  ASSERT_EQ(EncodePlayTurn(SeatRecord{1, 0}, *pass), 0);
  SeatRecord turn;
  ASSERT_EQ(DecodePlayTurn(turn, *pass), 0);
  EXPECT_EQ(turn.seat, 0);
  Packet bad = *pass;
  EXPECT_EQ(EncodePlayTurn(SeatRecord{2, 4}, bad), 1);
  EXPECT_EQ(bad.bytes[35], 2);  // the table is written before the seat check
  EXPECT_EQ(bad.bytes[36], 0);
  EXPECT_TRUE(Refuses<SeatRecord>(PlayTurn, bad, 36, 200));
  EXPECT_TRUE(Refuses<SeatRecord>(PlayPass, bad, 36, 200));
}

}  // namespace
}  // namespace quarn
