#include <gtest/gtest.h>

#include "core/gbk.h"
#include "protocol/packet_builder.h"
#include "test_bytes.h"

namespace quarn {
namespace {

using enum MessageType;
using test::Bytes;
using test::FourPlayers;
using test::Refuses;
using test::ToBytes;

TEST(GameEnd, LayoutAndScoreBias) {
  // -30 + 10000 = 9970 = 0x26F2; 90 + 10000 = 10090 = 0x276A
  EXPECT_EQ(
      test::Built(GameEnd, FourPlayers()),
      test::Frame(
          0xABAB0160, 192,
          {{32, {0, 0, 0, 1, 0, 0, 0, 3, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 15}},
           {52, {'a', 'n', 'n'}},
           {68, {'b', 'o'}},
           {84, {'c'}},
           {100, Bytes{'f', 'i', 'f', 't', 'e', 'e', 'n', '-', 'l', 'e', 't', 't', 'e', 'r', 's'}},
           {116, {0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 4}},
           {132, {0, 0, 0x26, 0xF2, 0, 0, 0x27, 0x6A, 0, 0, 0x26, 0xF2, 0, 0, 0x26, 0xF2}},
           {148, {0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 4}},
           {164, {0, 0, 0, 5, 0, 0, 0, 6, 0, 0, 0, 7, 0, 0, 0, 8}},
           {180, {1}}}));
  // Scores far below the bias travel as negative words and come back whole,
  // and the extremes wrap instead of overflowing.
  GameEndRecord extreme = FourPlayers();
  extreme.score = {-20000, INT32_MAX, INT32_MIN, 0};
  GameEndRecord got;
  ASSERT_EQ(DecodeGameEnd(got, *BuildPacket(GameEnd, extreme)), 0);
  EXPECT_EQ(got.score, extreme.score);
}

TEST(GameEnd, Refusals) {
  for (std::int32_t length : {0, 16, -1}) {
    GameEndRecord r = FourPlayers();
    r.nameLength[2] = length;
    Packet packet = *NewPacketOfType(GameEnd);
    EXPECT_EQ(EncodeGameEnd(r, packet), 1) << length;
    EXPECT_EQ(packet.bytes[39], 3);  // seats before the fault are written
    EXPECT_EQ(packet.bytes[47], 0);
  }
  GameEndRecord noWinner = FourPlayers();
  noWinner.winner = 4;
  EXPECT_FALSE(BuildPacket(GameEnd, noWinner));
  // The client looks the winner up among its four seats.
  const Packet good = *BuildPacket(GameEnd, FourPlayers());
  for (const auto& [at, value] : std::vector<std::pair<std::size_t, std::uint8_t>>{
           {39, 0}, {51, 16}, {48, 0x80} /* negative */, {180, 4}, {180, 255}}) {
    EXPECT_TRUE(Refuses<GameEndRecord>(GameEnd, good, at, value)) << at;
  }
  EXPECT_FALSE(Refuses<GameEndRecord>(GameEnd, good, 180, 3));
}

TEST(GameEnd, PlayerLeaveAndSpare) {
  const auto leave = BuildPacket(PlayerLeave, SeatRecord{1, 2});
  ASSERT_TRUE(leave);
  EXPECT_EQ(ToBytes(*leave), test::Frame(0xABAB0062, 192, {{32, {0, 0, 0, 1}}, {180, {2}}}));
  SeatRecord got;
  ASSERT_EQ(DecodePlayerLeave(got, *leave), 0);
  EXPECT_EQ(got.seat, 2);
  EXPECT_TRUE(Refuses<SeatRecord>(PlayerLeave, *leave, 180, 4));
  EXPECT_FALSE(BuildPacket(PlayerLeave, SeatRecord{1, 4}));
  const auto spare = BuildEmptyPacket(GameSpare);
  ASSERT_TRUE(spare);
  EXPECT_EQ(ToBytes(*spare), test::Frame(0xABAB0161, 192));
  EXPECT_EQ(DecodeGameSpare(*spare), 0);
}

TEST(Chat, CutAtFiftyEightBytesOnACharacter) {
  const auto packet = BuildPacket(ChatSay, ChatRecord{1, 2, std::string(70, 'x')});
  ASSERT_TRUE(packet);
  EXPECT_EQ(ToBytes(*packet),
            test::Frame(0xABAB0070, 104, {{32, {0, 0, 0, 1, 2}}, {37, Bytes(58, 'x')}}));
  ChatRecord got;
  const std::string exact(58, 'y');  // exactly the field goes whole
  ASSERT_EQ(DecodeChatNotice(got, *BuildPacket(ChatNotice, ChatRecord{1, 0, exact})), 0);
  EXPECT_EQ(got.text, exact);
  // One ASCII byte then 30 Chinese characters: 61 bytes. The 58-byte cut
  // would split the 29th character, so it keeps 28 (57 bytes).
  std::string mixed = "a";
  for (int i = 0; i < 30; ++i) mixed += Utf8ToGbk("中");
  ASSERT_EQ(DecodeChatSay(got, *BuildPacket(ChatSay, ChatRecord{1, 0, mixed})), 0);
  EXPECT_EQ(got.text, mixed.substr(0, 57));

  EXPECT_FALSE(BuildPacket(ChatSay, ChatRecord{1, 4, "hi"}));
  EXPECT_TRUE(Refuses<ChatRecord>(ChatSay, *packet, 36, 9));
  EXPECT_TRUE(Refuses<ChatRecord>(ChatNotice, *packet, 36, 9));
  // A field without a NUL is read to its width and no further.
  Packet full = *packet;
  std::fill_n(full.bytes.begin() + 37, 59, 'z');
  ASSERT_EQ(DecodeChatSay(got, full), 0);
  EXPECT_EQ(got.text, std::string(59, 'z'));
}

TEST(Icons, LayoutAndRelay) {
  auto change = BuildPacket(IconChange, IconRecord{1, 22, 40, 3});
  ASSERT_TRUE(change);
  EXPECT_EQ(ToBytes(*change),
            test::Frame(0xABAB0040, 56, {{32, {0, 0, 0, 1, 0, 0, 0, 22, 0, 0, 0, 40, 3}}}));
  ASSERT_EQ(RewriteHeader(*change, IconNotice), 0);
  IconRecord relayed;
  ASSERT_EQ(DecodeIconNotice(relayed, *change), 0);
  EXPECT_EQ(relayed, (IconRecord{1, 22, 40, 3}));
  EXPECT_TRUE(Refuses<IconRecord>(IconChangeAlt, *change, 44, 4));
  EXPECT_TRUE(Refuses<IconRecord>(IconNoticeAlt, *change, 44, 4));
  EXPECT_FALSE(BuildPacket(IconChangeAlt, IconRecord{1, 1, 1, 4}));
}

}  // namespace
}  // namespace quarn
