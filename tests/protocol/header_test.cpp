// The message table, packet buffers, the header and the tail.
#include <gtest/gtest.h>

#include "tests/protocol/golden.h"

namespace quarn {
namespace {

bool AllBytes(std::span<const std::uint8_t> bytes, std::uint8_t value) {
  return std::ranges::all_of(bytes, [value](std::uint8_t b) { return b == value; });
}

TEST(Header, MessageTable) {
  EXPECT_EQ(MessageTable().size(), 30u);
  // The high nibble of the last byte names the family, and the family fixes the length.
  const std::array<std::uint32_t, 16> byNibble{0, 0, 0,  0, 56,  56, 192, 104,
                                               0, 0, 96, 0, 180, 0,  76,  48};
  for (const MessageInfo& info : MessageTable()) {
    auto code = static_cast<std::uint32_t>(info.type);
    EXPECT_EQ(code >> 16, 0xABABu);
    EXPECT_EQ(info.length, byNibble[(code >> 4) & 0xF]) << MessageName(code);
    EXPECT_EQ(FindMessage(code), &info);
    EXPECT_EQ(PacketLength(code), info.length);
  }
  EXPECT_EQ(PacketLength(0xABAB01EBu) + PacketLength(0xABAB01EFu) + PacketLength(0u), 76u);
  EXPECT_EQ(MessageName(0xABAB0062), "PlayerLeave");
  EXPECT_EQ(MessageName(0xABAB01ED), "reserved");
  EXPECT_EQ(MessageName(0xABAB01EF), "unknown");
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
  EXPECT_EQ(packet.bytes[192] * 0x100 + packet.bytes[199], 0xF1CE);
}

}  // namespace
}  // namespace quarn
