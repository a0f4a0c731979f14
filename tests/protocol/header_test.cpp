#include <gtest/gtest.h>

#include "protocol/packet_builder.h"
#include "test_bytes.h"

namespace quarn {
namespace {

using test::Bytes;
using test::Frame;
using test::ToBytes;

TEST(Header, BidOfferFrameIsByteExact) {
  auto packet = BuildPacket(MessageType::BidOffer, BidRecord{0, 0, 0});
  ASSERT_TRUE(packet);
  Bytes expected{0xCE, 0xF1, 0xCE, 0xF1, 0xCE, 0xF1, 0xCE, 0xF1, 0x51, 0x4E, 0x12, 0x03,
                 0x01, 0x00, 0x00, 0x00, 0xAB, 0xAB, 0x00, 0xFC, 0x00, 0x00, 0x00, 0x30,
                 0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,
                 0,    0,    0,    0,    0xF1, 0xCE, 0xF1, 0xCE, 0xF1, 0xCE, 0xF1, 0xCE};
  EXPECT_EQ(ToBytes(*packet), expected);
  EXPECT_EQ(ToBytes(*packet), Frame(0xABAB00FC, 48));
}

TEST(Header, MessageTableLengths) {
  EXPECT_EQ(PacketLength(0xABAB01EBu), 76u);
  EXPECT_EQ(PacketLength(0xABAB01EFu), 0u);
  EXPECT_EQ(PacketLength(0u), 0u);
  EXPECT_EQ(MessageTable().size(), 30u);
  // The high nibble of the last byte names the family, and the family fixes the length.
  const std::array<std::uint32_t, 16> byNibble{0, 0, 0,  0, 56,  56, 192, 104,
                                               0, 0, 96, 0, 180, 0,  76,  48};
  for (const MessageInfo& info : MessageTable()) {
    auto code = static_cast<std::uint32_t>(info.type);
    EXPECT_EQ(code >> 16, 0xABABu);
    EXPECT_EQ(info.length, byNibble[(code >> 4) & 0xF]) << MessageName(code);
    EXPECT_LE(info.length, MaxPacketSize);
    EXPECT_EQ(FindMessage(code), &info);
  }
  EXPECT_EQ(MessageName(0xABAB0062), "PlayerLeave");
  EXPECT_EQ(MessageName(0xABAB01ED), "reserved");
  EXPECT_EQ(MessageName(0xABAB01EF), "unknown");
}

TEST(Header, BuffersAndFree) {
  Packet receive = NewPacket();
  EXPECT_EQ(receive.length, MaxPacketSize);
  EXPECT_EQ(std::count(receive.bytes.begin(), receive.bytes.end(), 0), 200);

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
  EXPECT_TRUE(std::all_of(packet.bytes.begin() + 20, packet.bytes.begin() + 32,
                          [](std::uint8_t b) { return b == 0x77; }));
  EXPECT_EQ(packet.length, MaxPacketSize);
}

TEST(Header, DecodeChecks) {
  Bytes good = Frame(0xABAB00FC, 48);
  PacketHeader header;
  EXPECT_EQ(DecodeHeader(header, test::PacketOf(good)), 0);
  EXPECT_EQ(header.type(), MessageType::BidOffer);
  EXPECT_EQ(header.packetLength, 48u);

  Bytes result = good;
  result[27] = 1;  // ResultCode 1
  EXPECT_EQ(DecodeHeader(header, test::PacketOf(result)), 1);

  Bytes reserved = good;
  reserved[31] = 5;  // the reserved word is not checked
  EXPECT_EQ(DecodeHeader(header, test::PacketOf(reserved)), 0);
  EXPECT_EQ(header.reserved, 5u);

  Bytes version = good;
  test::Put(version, 12, {0, 0, 0, 1});
  EXPECT_EQ(DecodeHeader(header, test::PacketOf(version)), 1);

  Bytes id = good;
  id[9] ^= 1;
  PacketHeader partial;
  EXPECT_EQ(DecodeHeader(partial, test::PacketOf(id)), 1);
  EXPECT_EQ(partial.magic1, HeaderMagic);  // words before the fault stay filled
  EXPECT_EQ(partial.messageType, 0u);

  Bytes tail = good;
  tail[47] = 0;  // nobody reads the tail
  EXPECT_EQ(DecodeHeader(header, test::PacketOf(tail)), 0);

  // Short reads: 0, 1 and 31 bytes never pass, even when the bytes match.
  for (std::size_t n : {0u, 1u, 31u}) {
    EXPECT_EQ(DecodeHeader(header, std::span(good).first(n)), 1) << n;
  }
  EXPECT_EQ(DecodeHeader(header, NewPacket()), 1);
}

TEST(Header, TailFollowsTheLengthWord) {
  Packet packet = NewPacket();
  packet.bytes[23] = 201;
  EXPECT_EQ(WriteTail(packet), 1);
  EXPECT_TRUE(std::all_of(packet.bytes.begin() + 24, packet.bytes.end(),
                          [](std::uint8_t b) { return b == 0; }));
  // A length that would put the tail over the header (or before the buffer)
  // is refused rather than written.
  for (std::uint8_t length : {0, 7, 39}) {
    packet.bytes[23] = length;
    EXPECT_EQ(WriteTail(packet), 1);
  }
  EXPECT_TRUE(std::all_of(packet.bytes.begin() + 24, packet.bytes.end(),
                          [](std::uint8_t b) { return b == 0; }));
  packet.bytes[23] = 200;
  EXPECT_EQ(WriteTail(packet), 0);
  EXPECT_EQ(packet.bytes[192], 0xF1);
  EXPECT_EQ(packet.bytes[199], 0xCE);
}

TEST(Header, RewriteKeepsBodyAndTail) {
  BidRecord bid{1, 2, 3};
  auto packet = BuildPacket(MessageType::BidOffer, bid);
  ASSERT_TRUE(packet);
  packet->bytes[38] = 0x55;  // a spare byte the client happened to set
  packet->bytes[45] = 0x66;  // and a tail byte
  Bytes before = ToBytes(*packet);
  ASSERT_EQ(RewriteHeader(*packet, MessageType::BidTurn), 0);
  Bytes after = ToBytes(*packet);
  EXPECT_EQ(after[19], 0xFC);
  EXPECT_EQ(after[18], 0x01);
  after[18] = before[18];
  EXPECT_EQ(after, before);
  // A type of another length cannot be written into this buffer.
  EXPECT_EQ(RewriteHeader(*packet, MessageType::PlayTurn), 1);
  EXPECT_EQ(RewriteHeader(*packet, static_cast<MessageType>(0x12345678)), 1);
  EXPECT_EQ(ToBytes(*packet)[19], 0xFC);
}

}  // namespace
}  // namespace quarn
