#include <gtest/gtest.h>

#include "protocol/packet_builder.h"
#include "test_bytes.h"

namespace quarn {
namespace {

using test::Bytes;
using test::Frame;
using test::ToBytes;

bool AllBytes(std::span<const std::uint8_t> bytes, std::uint8_t value) {
  return std::ranges::all_of(bytes, [value](std::uint8_t b) { return b == value; });
}

TEST(Header, BidOfferFrameIsByteExact) {
  const Bytes expected{0xCE, 0xF1, 0xCE, 0xF1, 0xCE, 0xF1, 0xCE, 0xF1, 0x51, 0x4E, 0x12, 0x03,
                       0x01, 0x00, 0x00, 0x00, 0xAB, 0xAB, 0x00, 0xFC, 0x00, 0x00, 0x00, 0x30,
                       0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,
                       0,    0,    0,    0,    0xF1, 0xCE, 0xF1, 0xCE, 0xF1, 0xCE, 0xF1, 0xCE};
  EXPECT_EQ(test::Built(MessageType::BidOffer, BidRecord{0, 0, 0}), expected);
  EXPECT_EQ(Frame(0xABAB00FC, 48), expected);
}

TEST(Header, MessageTableAndBuffers) {
  EXPECT_EQ(MessageTable().size(), 30u);
  // The high nibble of the last byte names the family, and the family fixes the length.
  const std::array<std::uint32_t, 16> byNibble{0, 0, 0,  0, 56,  56, 192, 104,
                                               0, 0, 96, 0, 180, 0,  76,  48};
  for (const MessageInfo& info : MessageTable()) {
    auto code = static_cast<std::uint32_t>(info.type);
    EXPECT_EQ(code >> 16, 0xABABu);
    EXPECT_EQ(info.length, byNibble[(code >> 4) & 0xF]) << MessageName(code);
    EXPECT_EQ(FindMessage(code), &info);
  }
  EXPECT_EQ(PacketLength(0xABAB01EBu), 76u);
  EXPECT_EQ(PacketLength(0xABAB01EFu), 0u);
  EXPECT_EQ(PacketLength(0u), 0u);
  EXPECT_EQ(MessageName(0xABAB0062), "PlayerLeave");
  EXPECT_EQ(MessageName(0xABAB01ED), "reserved");
  EXPECT_EQ(MessageName(0xABAB01EF), "unknown");

  Packet receive = NewPacket();
  EXPECT_EQ(receive.length, MaxPacketSize);
  EXPECT_TRUE(AllBytes(receive.bytes, 0));
  auto chat = NewPacketOfType(MessageType::ChatSay);
  ASSERT_TRUE(chat);
  EXPECT_EQ(chat->length, 104u);
  EXPECT_FALSE(NewPacketOfType(static_cast<MessageType>(0xABAB01EF)));
  EXPECT_EQ(FreePacket(chat), 0);
  EXPECT_FALSE(chat);
  EXPECT_EQ(FreePacket(chat), 1);
}

TEST(Header, EncodeRefusesUnknownTypeAndLeavesLaterWords) {
  Packet packet = NewPacket();
  std::fill(packet.bytes.begin() + 20, packet.bytes.begin() + 32, 0x77);
  PacketHeader header;
  header.messageType = 0xABAB01EF;
  EXPECT_EQ(EncodeHeader(header, packet), 1);
  EXPECT_EQ(packet.bytes[19], 0xEF);  // words 0..4 are written
  EXPECT_TRUE(AllBytes(std::span(packet.bytes).subspan(20, 12), 0x77));
  EXPECT_EQ(packet.length, MaxPacketSize);
}

TEST(Header, DecodeChecks) {
  const Packet good = PacketFromBytes(Frame(0xABAB00FC, 48));
  PacketHeader header;
  ASSERT_EQ(DecodeHeader(header, good), 0);
  EXPECT_EQ(header.type(), MessageType::BidOffer);
  EXPECT_EQ(header.packetLength, 48u);
  struct Change {
    std::size_t at;
    std::uint8_t value;
    int result;
  };
  for (const Change& c : {Change{27, 1, 1},     // result code 1
                          Change{15, 1, 1},     // version
                          Change{9, 0x4F, 1},   // protocol id
                          Change{31, 5, 0},     // the reserved word is not checked
                          Change{47, 0, 0}}) {  // nobody reads the tail
    EXPECT_EQ(DecodeHeader(header, test::With(good, c.at, c.value)), c.result) << c.at;
  }
  PacketHeader partial;
  EXPECT_EQ(DecodeHeader(partial, test::With(good, 9, 0x4F)), 1);
  EXPECT_EQ(partial.magic1, HeaderMagic);  // words before the fault stay filled
  EXPECT_EQ(partial.messageType, 0u);
  // Short reads never pass, even when the bytes match.
  for (std::size_t n : {0u, 1u, 31u}) EXPECT_EQ(DecodeHeader(header, good.data().first(n)), 1);
  EXPECT_EQ(DecodeHeader(header, NewPacket()), 1);
}

TEST(Header, TailFollowsTheLengthWordAndNeverOverwritesTheHeader) {
  Packet packet = NewPacket();
  for (std::uint8_t length : {201, 0, 7, 39}) {
    packet.bytes[23] = length;
    EXPECT_EQ(WriteTail(packet), 1) << int{length};
  }
  EXPECT_TRUE(AllBytes(std::span(packet.bytes).subspan(24), 0));
  packet.bytes[23] = 200;
  EXPECT_EQ(WriteTail(packet), 0);
  EXPECT_EQ(packet.bytes[192], 0xF1);
  EXPECT_EQ(packet.bytes[199], 0xCE);
}

TEST(Header, RewriteKeepsBodyAndTail) {
  auto packet = BuildPacket(MessageType::BidOffer, BidRecord{1, 2, 3});
  ASSERT_TRUE(packet);
  packet->bytes[38] = 0x55;  // a spare byte the client happened to set
  packet->bytes[45] = 0x66;  // and a tail byte
  Bytes expected = ToBytes(*packet);
  expected[18] = 0x01;
  ASSERT_EQ(RewriteHeader(*packet, MessageType::BidTurn), 0);
  EXPECT_EQ(ToBytes(*packet), expected);
  // A type of another length cannot be written into this buffer.
  EXPECT_EQ(RewriteHeader(*packet, MessageType::PlayTurn), 1);
  EXPECT_EQ(RewriteHeader(*packet, static_cast<MessageType>(0x12345678)), 1);
  EXPECT_EQ(ToBytes(*packet), expected);
}

}  // namespace
}  // namespace quarn
