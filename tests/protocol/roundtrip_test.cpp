#include <gtest/gtest.h>

#include <set>

#include "core/gbk.h"

#include "protocol/any_message.h"
#include "protocol/stream_assembler.h"
#include "test_bytes.h"

namespace quarn {
namespace {

using enum MessageType;

struct Sample {
  MessageType type;
  MessageBody body;
};

DealRecord Cards(std::uint8_t count) {
  DealRecord r{1, 3, count, {}};
  for (std::uint8_t i = 0; i < count; ++i) r.cards[i] = static_cast<std::uint8_t>(108 - 4 * i);
  return r;
}

PlayRecord Play(std::uint8_t count) {
  PlayRecord r{.tableNumber = 1, .seat = 1, .count = count};
  for (std::uint8_t i = 0; i < count; ++i) r.cards[i] = static_cast<std::uint8_t>(i + 1);
  if (count > 0) {
    r.comboType = 4;
    r.keyRank = 13;
    r.comboName = {'p', 'l', 'a', 'n', 'e'};
  }
  return r;
}

// One valid record for every type of the table that has a body.
std::vector<Sample> Samples() {
  return {
      {LoginRequest, MakeLoginRequest("player", "pw", 3, 4, 1, 2)},
      {LoginReply,
       LoginRecord{
           .nameLength = {17}, .name = {"somebody"}, .password = {}, .tableNumber = 1, .seat = 2}},
      {SeatList, LoginRecord{.nameLength = {1, 2, 3, 4},
                             .name = {"a", "bb", "ccc", "dddd"},
                             .serviceIcon = {10, 11, 12, 13},
                             .headIcon = {20, 21, 22, 23},
                             .password = {},
                             .tableNumber = 1}},
      {DealCards, Cards(25)},
      {ExtraCards, Cards(8)},
      {StartCardNotice, Cards(1)},
      {BidStart, BidRecord{1, 0, 1}},
      {BidTurn, BidRecord{1, 1, 2}},
      {BidResult, BidRecord{1, 2, 10}},
      {BidPass, BidRecord{1, 3, 0}},
      {BidOffer, BidRecord{1, 0, 255}},
      {PlayCards, Play(33)},
      {PlayNotice, Play(3)},
      {PlayNotice, Play(0)},
      {PlayPass, SeatRecord{1, 1}},
      {PlayTurn, SeatRecord{1, 2}},
      {PlayerLeave, SeatRecord{1, 3}},
      {GameEnd, test::FourPlayers()},
      {GameSpare, std::monostate{}},
      {ChatSay, ChatRecord{1, 0, "hello"}},
      {ChatNotice, ChatRecord{1, 3, "hi all"}},
      {IconChange, IconRecord{1, 2, 3, 0}},
      {IconChangeAlt, IconRecord{1, 4, 5, 1}},
      {IconNotice, IconRecord{1, 6, 7, 2}},
      {IconNoticeAlt, IconRecord{1, 8, 9, 3}},
      {StateRequest, SeatRecord{2, 3}},
      {AutoPlayRequest, AutoPlayRecord{1, 0, SeatControl::Person}},
      {AutoPlayNotice,
       AutoPlayRecord{
           1, 1, SeatControl::AfterTimeouts, {SeatControl::Person, SeatControl::AfterTimeouts}}},
      {TurnClock, TurnClockRecord{1, 3, 1000, 1000}},
      {TableState, TableStateRecord{.tableNumber = 1,
                                    .seat = 3,
                                    .phase = TablePhase::Playing,
                                    .landlord = 3,
                                    .cardCount = {0, 0, 0, 1},
                                    .startCard = 1,
                                    .handCount = 1,
                                    .hand = {108},
                                    .bottom = {1, 2, 3, 4, 5, 6, 7, 8},
                                    .score = {-3, 1, 1, 1}}},
  };
}

Packet Build(const Sample& sample) {
  std::optional<Packet> packet = std::visit(
      [&](const auto& record) -> std::optional<Packet> {
        if constexpr (std::is_same_v<std::decay_t<decltype(record)>, std::monostate>) {
          return BuildEmptyPacket(sample.type);
        } else {
          return BuildPacket(sample.type, record);
        }
      },
      sample.body);
  EXPECT_TRUE(packet) << MessageName(std::uint32_t(sample.type));
  return packet.value_or(Packet{});
}

TEST(RoundTrip, EveryMessageTypeComesBackEqual) {
  std::set<MessageType> covered;
  for (const Sample& sample : Samples()) {
    SCOPED_TRACE(MessageName(std::uint32_t(sample.type)));
    Packet packet = Build(sample);
    EXPECT_EQ(packet.length, PacketLength(sample.type));
    auto decoded = DecodeMessage(packet);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->header.type(), sample.type);
    EXPECT_TRUE(decoded->body == sample.body);
    EXPECT_FALSE(DescribeMessage(*decoded).empty());
    covered.insert(sample.type);
  }
  for (auto table : {MessageTable(), AddedMessageTable()}) {
    for (const MessageInfo& info : table) {
      if (!info.name.empty()) {
        EXPECT_TRUE(covered.count(info.type)) << info.name;
      }
    }
  }
}

TEST(RoundTrip, DescribeNamesTheFields) {
  auto decoded = DecodeMessage(*BuildPacket(BidOffer, BidRecord{1, 2, 3}));
  ASSERT_TRUE(decoded);
  EXPECT_EQ(DescribeMessage(*decoded), "BidOffer table=1 seat=2 points=3");
  decoded = DecodeMessage(*BuildPacket(ChatSay, ChatRecord{1, 0, Utf8ToGbk("你好")}));
  ASSERT_TRUE(decoded);
  EXPECT_EQ(DescribeMessage(*decoded), "ChatSay table=1 seat=0 text=\"你好\"");
}

// Every proper prefix of a packet is refused, by the decoders and by the
// assembler, which waits for more instead.
TEST(RoundTrip, TruncationSweep) {
  for (const Sample& sample : Samples()) {
    SCOPED_TRACE(MessageName(std::uint32_t(sample.type)));
    Packet packet = Build(sample);
    for (std::size_t n = 0; n < packet.length; ++n) {
      Packet cut = PacketFromBytes(packet.data().first(n));
      EXPECT_FALSE(DecodeMessage(cut)) << n;
      StreamAssembler assembler;
      assembler.Feed(packet.data().first(n));
      EXPECT_FALSE(assembler.Next()) << n;
    }
  }
}

// Each body byte set to every value: the decoders refuse or accept, never
// read outside the packet (the sanitizer build watches), and a seat above 3
// is never accepted.
TEST(RoundTrip, ByteSweepNeverYieldsABadSeat) {
  for (const Sample& sample : Samples()) {
    SCOPED_TRACE(MessageName(std::uint32_t(sample.type)));
    Packet packet = Build(sample);
    for (std::size_t at = HeaderSize; at < packet.length - TailSize; ++at) {
      for (int value = 0; value < 256; value += 17) {
        Packet changed = packet;
        changed.bytes[at] = static_cast<std::uint8_t>(value);
        auto decoded = DecodeMessage(changed);
        if (!decoded) continue;
        std::visit(
            [](const auto& r) {
              using R = std::decay_t<decltype(r)>;
              if constexpr (requires { r.seat; } && !std::is_same_v<R, LoginRecord>) {
                EXPECT_LT(r.seat, 4);
              }
              if constexpr (std::is_same_v<R, GameEndRecord>) {
                EXPECT_LT(r.winner, 4);
              }
            },
            decoded->body);
      }
    }
  }
}

}  // namespace
}  // namespace quarn
