// The message table, packet buffers, the header and the tail.
#include <gtest/gtest.h>

#include "tests/protocol/golden.h"

namespace quarn {
namespace {

bool AllBytes(std::span<const std::uint8_t> bytes, std::uint8_t value) {
  return std::ranges::all_of(bytes, [value](std::uint8_t b) { return b == value; });
}

// Each listed message's code, name and length are pinned by its golden packet;
// here that each code finds its own entry, and what lies outside the lists.
TEST(Header, MessageTable) {
  for (const std::span<const MessageInfo> list : {MessageTable(), AddedMessageTable()}) {
    for (const MessageInfo& info : list) EXPECT_EQ(FindMessage(std::uint32_t(info.type)), &info);
  }
  EXPECT_EQ(PacketLength(0xABAB01EBu) + PacketLength(0xABAB01EFu) + PacketLength(0u), 76u);
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
