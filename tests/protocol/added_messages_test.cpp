// Our own messages: the worked examples of docs/protocol.md byte for byte both
// ways, and what each decoder refuses.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "protocol/any_message.h"
#include "test_bytes.h"

namespace quarn {
namespace {

using enum MessageType;
using test::FromHex;

constexpr const char* kHead = "CE F1 CE F1 CE F1 CE F1 51 4E 12 03 01 00 00 00";
constexpr const char* kTail = "F1 CE F1 CE F1 CE F1 CE";

TableStateRecord PlayingSeat1() {
  return {.tableNumber = 1,
          .seat = 1,
          .phase = TablePhase::Playing,
          .turn = 1,
          .landlord = 3,
          .points = 10,
          .cardCount = {20, 5, 25, 14},
          .startCard = 17,
          .handCount = 5,
          .hand = {3, 20, 41, 54, 107},
          .leadSeat = 0,
          .tableCount = 2,
          .tableCards = {9, 63},
          .played = {4, 4, 3, 4, 2, 4, 3, 3, 4, 2, 4, 3, 2, 1, 1},
          .score = {10, 10, 10, -30},
          .rounds = {1, 1, 1, 1}};
}

struct Example {
  MessageType type;
  MessageBody body;
  std::string hex;  // after the 16 bytes every header starts with, before the tail
};

// The worked examples of docs/protocol.md.
std::vector<Example> Examples() {
  return {
      {StateRequest, SeatRecord{1, 2},
       "AB AB 02 10 00 00 00 30 00 00 00 00 00 00 00 00"
       "00 00 00 01 02 00 00 00"},
      {AutoPlayRequest, AutoPlayRecord{1, 3, SeatControl::OnRequest},
       "AB AB 02 20 00 00 00 30 00 00 00 00 00 00 00 00 00 00 00 01 03 01 00 00"},
      {AutoPlayNotice,
       AutoPlayRecord{1,
                      2,
                      SeatControl::PlayerGone,
                      {SeatControl::Person, SeatControl::OnRequest, SeatControl::PlayerGone,
                       SeatControl::Person}},
       "AB AB 03 21 00 00 00 38 00 00 00 00 00 00 00 00"
       "00 00 00 01 02 03 00 00 00 01 03 00 00 00 00 00"},
      {TurnClock, TurnClockRecord{1, 0, 30000, 12500},
       "AB AB 03 31 00 00 00 38 00 00 00 00 00 00 00 00"
       "00 00 00 01 00 00 00 00 00 00 75 30 00 00 30 D4"},
      {TableState, PlayingSeat1(),
       "AB AB 03 11 00 00 00 B8 00 00 00 00 00 00 00 00"
       "00 00 00 01 01 02 01 03 00 00 00 0A 14 05 19 0E"
       "11 05 03 14 29 36 6B 00 00 00 00 00 00 00 00 00" +
           std::string(16 * 2, '0') + "00 00 00 00 02 09 3F 00 00 00 00 00 00 00 00 00" +
           std::string(16 * 2, '0') +
           "00 00 00 00 00 00 00 00 00 00 00 00 00 00 04 04"
           "03 04 02 04 03 03 04 02 04 03 02 01 01 00 00 00"
           "00 00 27 1A 00 00 27 1A 00 00 27 1A 00 00 26 F2"
           "00 00 00 01 00 00 00 01 00 00 00 01 00 00 00 01"},
  };
}

Packet Build(MessageType type, const MessageBody& body) {
  return std::visit(
      [&](const auto& record) {
        if constexpr (std::is_same_v<std::decay_t<decltype(record)>, std::monostate>) {
          return Packet{};
        } else {
          return BuildPacket(type, record).value_or(Packet{});
        }
      },
      body);
}

TEST(AddedMessages, WorkedExamplesBothWays) {
  for (const Example& example : Examples()) {
    SCOPED_TRACE(MessageName(std::uint32_t(example.type)));
    const test::Bytes expected = FromHex(std::string(kHead) + example.hex + kTail);
    EXPECT_EQ(test::ToBytes(Build(example.type, example.body)), expected);
    const auto decoded = DecodeMessage(PacketFromBytes(expected));
    ASSERT_TRUE(decoded);
    EXPECT_TRUE(decoded->body == example.body);
    // A peer that knows only the shared table skips the packet whole by its length word.
    EXPECT_TRUE(std::ranges::none_of(
        MessageTable(), [&](const MessageInfo& info) { return info.type == example.type; }));
    EXPECT_GE(expected.size(), 48u);
    EXPECT_LE(expected.size(), MaxPacketSize);
  }
}

struct Refusal {
  MessageType type;
  std::size_t at;
  std::uint8_t value;
  bool refused;
};

TEST(AddedMessages, DecodersRefuseWhatNoSeatCouldBe) {
  std::map<MessageType, Packet> packets;
  for (const Example& example : Examples())
    packets[example.type] = Build(example.type, example.body);
  for (const Refusal& r : {
           Refusal{StateRequest, 36, 4, true},
           Refusal{AutoPlayRequest, 37, 2, true},  // a client asks only on or off
           Refusal{AutoPlayRequest, 37, 0, false},
           Refusal{AutoPlayNotice, 37, 1, true},  // differs from the list
           Refusal{AutoPlayNotice, 41, 4, true},
           Refusal{AutoPlayNotice, 43, 2, false},
           Refusal{TurnClock, 46, 0x76, true},  // more left than the turn's time
           Refusal{TurnClock, 40, 0x80, true},  // a negative time
           Refusal{TurnClock, 47, 0x00, false},
           Refusal{TableState, 37, 3, true},     // no such phase
           Refusal{TableState, 39, 4, true},     // landlord
           Refusal{TableState, 83, 4, true},     // lead seat
           Refusal{TableState, 45, 6, true},     // own count differs from the hand's
           Refusal{TableState, 46, 34, true},    // a seat holds more than 33
           Refusal{TableState, 54, 109, true},   // a card of the hand
           Refusal{TableState, 55, 109, false},  // beyond the hand's count: not read
           Refusal{TableState, 86, 0, true},     // a card on the table
           Refusal{TableState, 48, 0, true},     // the start card
           Refusal{TableState, 118, 5, true},    // one bottom card without the others
           Refusal{TableState, 130, 9, true},    // nine of one rank
       }) {
    SCOPED_TRACE(testing::Message() << MessageName(std::uint32_t(r.type)) << " @" << r.at);
    EXPECT_EQ(!DecodeMessage(test::With(packets[r.type], r.at, r.value)), r.refused);
  }
  // A record that fails is not written at all.
  TableStateRecord bad = PlayingSeat1();
  bad.handCount = 6;
  EXPECT_FALSE(BuildPacket(TableState, bad));
  EXPECT_FALSE(BuildPacket(AutoPlayRequest, AutoPlayRecord{1, 0, SeatControl::PlayerGone}));
}

}  // namespace
}  // namespace quarn
