#include <gtest/gtest.h>

#include <numeric>

#include "protocol/packet_builder.h"
#include "test_bytes.h"

namespace quarn {
namespace {

using test::Bytes;
using test::ToBytes;

DealRecord Hand(std::uint8_t seat, std::uint8_t count, std::uint8_t first) {
  DealRecord r{1, seat, count, {}};
  std::iota(r.cards.begin(), r.cards.begin() + count, first);
  return r;
}

TEST(Deal, OffsetsAndCounts) {
  auto deal = BuildPacket(MessageType::DealCards, Hand(3, 25, 80));
  ASSERT_TRUE(deal);
  Bytes expected = test::Frame(0xABAB01EC, 76);
  test::Put(expected, 32, {0, 0, 0, 1, 3, 25});
  std::iota(expected.begin() + 41, expected.begin() + 66, 80);
  EXPECT_EQ(ToBytes(*deal), expected);  // 38..40 and 66..67 stay 0

  DealRecord got;
  got.cards.fill(99);
  ASSERT_EQ(DecodeDealCards(got, *deal), 0);
  EXPECT_EQ(got.count, 25);
  EXPECT_EQ(got.cards[24], 104);

  // The start card always goes out with count 1.
  auto start = BuildPacket(MessageType::StartCardNotice, Hand(2, 5, 17));
  ASSERT_TRUE(start);
  EXPECT_EQ(start->bytes[37], 1);
  EXPECT_EQ(start->bytes[41], 17);
  EXPECT_EQ(start->bytes[42], 0);
  ASSERT_EQ(DecodeStartCardNotice(got, *start), 0);
  EXPECT_EQ(got.count, 1);
  EXPECT_EQ(got.cards[1], 0);  // stale places are cleared

  EXPECT_TRUE(BuildPacket(MessageType::ExtraCards, Hand(0, 8, 101)));
  EXPECT_FALSE(BuildPacket(MessageType::ExtraCards, Hand(0, 7, 1)));
  EXPECT_FALSE(BuildPacket(MessageType::DealCards, Hand(4, 25, 1)));
  EXPECT_FALSE(BuildPacket(MessageType::DealCards, Hand(0, 25, 90)));  // reaches 114
  DealRecord tooMany = Hand(0, 25, 1);
  tooMany.count = 26;
  EXPECT_FALSE(BuildPacket(MessageType::DealCards, tooMany));
}

TEST(Deal, DecoderRefusals) {
  auto deal = *BuildPacket(MessageType::DealCards, Hand(1, 25, 1));
  DealRecord got;
  auto refused = [&](std::size_t at, std::uint8_t value, auto decode) {
    Packet p = deal;
    p.bytes[at] = value;
    return decode(got, p) == 1;
  };
  EXPECT_TRUE(refused(36, 4, DecodeDealCards));
  EXPECT_TRUE(refused(37, 26, DecodeDealCards));
  EXPECT_TRUE(refused(41, 0, DecodeDealCards));
  EXPECT_TRUE(refused(65, 109, DecodeDealCards));
  EXPECT_FALSE(refused(66, 109, DecodeDealCards));  // beyond the count: not read
  EXPECT_TRUE(refused(37, 25, DecodeExtraCards));   // must be exactly 8
  EXPECT_TRUE(refused(37, 2, DecodeStartCardNotice));
  EXPECT_FALSE(refused(37, 8, DecodeExtraCards));
  EXPECT_FALSE(refused(37, 1, DecodeStartCardNotice));
  EXPECT_TRUE(refused(41, 0, DecodeStartCardNotice));

  Packet extra = *BuildPacket(MessageType::ExtraCards, Hand(0, 8, 101));
  EXPECT_EQ(DecodeExtraCards(got, extra), 0);
  extra.bytes[48] = 109;  // the eighth card
  EXPECT_EQ(DecodeExtraCards(got, extra), 1);
}

TEST(Bid, PointsSeatAndRelay) {
  auto offer = BuildPacket(MessageType::BidOffer, BidRecord{1, 2, 300});
  ASSERT_TRUE(offer);
  Bytes expected = test::Frame(0xABAB00FC, 48);
  test::Put(expected, 32, {0, 0, 0, 1, 2, 44});  // 300 goes out as its low byte
  EXPECT_EQ(ToBytes(*offer), expected);

  BidRecord got;
  for (auto decode :
       {DecodeBidOffer, DecodeBidPass, DecodeBidTurn, DecodeBidStart, DecodeBidResult}) {
    EXPECT_EQ(decode(got, *offer), 0);
    EXPECT_EQ(got.points, 44);
    EXPECT_EQ(got.seat, 2);
  }

  // A refused seat is still written, then reported.
  Packet packet = *offer;
  EXPECT_EQ(EncodeBidTurn(BidRecord{5, 4, 7}, packet), 1);
  EXPECT_EQ(packet.bytes[35], 5);
  EXPECT_EQ(packet.bytes[36], 4);
  EXPECT_EQ(DecodeBidTurn(got, packet), 1);

  Packet tooShort = *offer;
  tooShort.length = 47;
  EXPECT_EQ(DecodeBidOffer(got, tooShort), 1);
  EXPECT_EQ(EncodeBidOffer(BidRecord{1, 0, 1}, tooShort), 1);
}

PlayRecord Pair(std::uint8_t seat) {
  PlayRecord r;
  r.tableNumber = 1;
  r.seat = seat;
  r.count = 2;
  r.cards[0] = 1;
  r.cards[1] = 2;
  r.comboType = 2;
  r.keyRank = 1;
  return r;
}

TEST(Play, PairOfThreesIsByteExact) {
  auto packet = BuildPacket(MessageType::PlayCards, Pair(2));
  ASSERT_TRUE(packet);
  Bytes expected = test::Frame(0xABAB00AA, 96);
  test::Put(expected, 32, {0, 0, 0, 1, 2, 2, 1, 2});
  expected[71] = 2;
  expected[72] = 1;
  EXPECT_EQ(ToBytes(*packet), expected);
}

TEST(Play, CountsAndCards) {
  PlayRecord full = Pair(0);
  full.count = 33;
  std::iota(full.cards.begin(), full.cards.end(), 76);  // up to 108
  auto packet = BuildPacket(MessageType::PlayCards, full);
  ASSERT_TRUE(packet);
  PlayRecord got;
  ASSERT_EQ(DecodePlayCards(got, *packet), 0);
  EXPECT_EQ(got.cards, full.cards);

  full.count = 34;
  EXPECT_FALSE(BuildPacket(MessageType::PlayCards, full));
  full.count = 0;  // a play of no cards is not a play
  EXPECT_FALSE(BuildPacket(MessageType::PlayCards, full));
  EXPECT_FALSE(BuildPacket(MessageType::PlayCards, [] {
    PlayRecord r = Pair(0);
    r.cards[1] = 109;
    return r;
  }()));

  auto refused = [&](std::size_t at, std::uint8_t value) {
    Packet p = *packet;
    p.bytes[at] = value;
    return DecodePlayCards(got, p) == 1 && DecodePlayNotice(got, p) == 1;
  };
  EXPECT_TRUE(refused(36, 4));
  EXPECT_TRUE(refused(37, 34));
  EXPECT_TRUE(refused(38, 0));
  EXPECT_TRUE(refused(70, 109));

  Packet pass = *packet;
  pass.bytes[37] = 0;
  EXPECT_EQ(DecodePlayCards(got, pass), 1);
  got.cards.fill(5);
  got.comboType = 7;
  EXPECT_EQ(DecodePlayNotice(got, pass), 0);  // card places are not read
  EXPECT_EQ(got.count, 0);
  EXPECT_EQ(got.cards[0], 0);  // and nothing of an earlier play remains
  EXPECT_EQ(got.comboType, 0);

  // A decoded play clears the record's places beyond the count.
  ASSERT_EQ(DecodePlayCards(got, *BuildPacket(MessageType::PlayCards, Pair(1))), 0);
  EXPECT_EQ(got.cards[2], 0);
  EXPECT_EQ(got.comboType, 2);
}

TEST(Play, NoticeOfAPassInThePassBuffer) {
  auto pass = BuildPacket(MessageType::PlayPass, SeatRecord{1, 3});
  ASSERT_TRUE(pass);
  Bytes expected = test::Frame(0xABAB00AD, 96);
  test::Put(expected, 32, {0, 0, 0, 1, 3});
  EXPECT_EQ(ToBytes(*pass), expected);

  PlayRecord notice;
  notice.tableNumber = 1;
  notice.seat = 3;
  notice.count = 0;
  notice.comboType = 9;  // not written for a pass
  ASSERT_EQ(RewriteHeader(*pass, MessageType::PlayNotice), 0);
  ASSERT_EQ(EncodePlayNotice(notice, *pass), 0);
  EXPECT_EQ(pass->bytes[71], 0);
  PlayRecord got;
  ASSERT_EQ(DecodePlayNotice(got, *pass), 0);
  EXPECT_EQ(got.seat, 3);
  EXPECT_EQ(got.count, 0);

  // The turn goes out in the same buffer; only table and seat change.
  ASSERT_EQ(RewriteHeader(*pass, MessageType::PlayTurn), 0);
  ASSERT_EQ(EncodePlayTurn(SeatRecord{1, 0}, *pass), 0);
  SeatRecord turn;
  ASSERT_EQ(DecodePlayTurn(turn, *pass), 0);
  EXPECT_EQ(turn.seat, 0);

  Packet bad = *pass;
  EXPECT_EQ(EncodePlayTurn(SeatRecord{2, 4}, bad), 1);
  EXPECT_EQ(bad.bytes[35], 2);  // the table is written before the seat check
  EXPECT_EQ(bad.bytes[36], 0);
  bad.bytes[36] = 200;
  EXPECT_EQ(DecodePlayTurn(turn, bad), 1);
  EXPECT_EQ(DecodePlayPass(turn, bad), 1);
}

}  // namespace
}  // namespace quarn
