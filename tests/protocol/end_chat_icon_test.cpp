#include <gtest/gtest.h>

#include "core/gbk.h"
#include "protocol/packet_builder.h"
#include "test_bytes.h"

namespace quarn {
namespace {

using test::Bytes;
using test::ToBytes;

GameEndRecord FourPlayers() {
  GameEndRecord r;
  r.tableNumber = 1;
  r.nameLength = {3, 2, 1, 15};
  r.name = {"ann", "bo", "c", "fifteen-letters"};
  r.rounds = {1, 2, 3, 4};
  r.score = {-30, 90, -30, -30};
  r.serviceIcon = {1, 2, 3, 4};
  r.headIcon = {5, 6, 7, 8};
  r.winner = 1;
  return r;
}

TEST(GameEnd, LayoutAndScoreBias) {
  auto packet = BuildPacket(MessageType::GameEnd, FourPlayers());
  ASSERT_TRUE(packet);
  Bytes expected = test::Frame(0xABAB0160, 192);
  test::Put(expected, 32, {0, 0, 0, 1, 0, 0, 0, 3, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 15});
  test::Put(expected, 52, {'a', 'n', 'n'});
  test::Put(expected, 68, {'b', 'o'});
  test::Put(expected, 84, {'c'});
  std::string fifteen = "fifteen-letters";
  std::copy(fifteen.begin(), fifteen.end(), expected.begin() + 100);
  test::Put(expected, 116, {0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 4});
  // -30 + 10000 = 9970 = 0x26F2; 90 + 10000 = 10090 = 0x276A
  test::Put(expected, 132,
            {0, 0, 0x26, 0xF2, 0, 0, 0x27, 0x6A, 0, 0, 0x26, 0xF2, 0, 0, 0x26, 0xF2});
  test::Put(expected, 148, {0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 4});
  test::Put(expected, 164, {0, 0, 0, 5, 0, 0, 0, 6, 0, 0, 0, 7, 0, 0, 0, 8});
  expected[180] = 1;
  EXPECT_EQ(ToBytes(*packet), expected);

  GameEndRecord got;
  ASSERT_EQ(DecodeGameEnd(got, *packet), 0);
  EXPECT_EQ(got.score, FourPlayers().score);
  EXPECT_EQ(got.name, FourPlayers().name);

  // Scores far below the bias travel as negative words and come back whole,
  // and the extremes wrap instead of overflowing.
  GameEndRecord extreme = FourPlayers();
  extreme.score = {-20000, INT32_MAX, INT32_MIN, 0};
  ASSERT_EQ(DecodeGameEnd(got, *BuildPacket(MessageType::GameEnd, extreme)), 0);
  EXPECT_EQ(got.score, extreme.score);
}

TEST(GameEnd, Refusals) {
  for (std::int32_t length : {0, 16, -1}) {
    GameEndRecord r = FourPlayers();
    r.nameLength[2] = length;
    Packet packet = *NewPacketOfType(MessageType::GameEnd);
    EXPECT_EQ(EncodeGameEnd(r, packet), 1) << length;
    EXPECT_EQ(packet.bytes[39], 3);  // seats before the fault are written
    EXPECT_EQ(packet.bytes[47], 0);
  }
  GameEndRecord noWinner = FourPlayers();
  noWinner.winner = 4;
  EXPECT_FALSE(BuildPacket(MessageType::GameEnd, noWinner));

  Packet good = *BuildPacket(MessageType::GameEnd, FourPlayers());
  GameEndRecord got;
  auto refused = [&](std::size_t at, std::uint8_t value) {
    Packet p = good;
    p.bytes[at] = value;
    return DecodeGameEnd(got, p) == 1;
  };
  EXPECT_TRUE(refused(39, 0));
  EXPECT_TRUE(refused(51, 16));
  EXPECT_TRUE(refused(48, 0x80));  // negative
  // The client looks the winner up among its four seats.
  EXPECT_TRUE(refused(180, 4));
  EXPECT_TRUE(refused(180, 255));
  EXPECT_FALSE(refused(180, 3));
}

TEST(GameEnd, PlayerLeaveAndSpare) {
  auto leave = BuildPacket(MessageType::PlayerLeave, SeatRecord{1, 2});
  ASSERT_TRUE(leave);
  Bytes expected = test::Frame(0xABAB0062, 192);
  test::Put(expected, 32, {0, 0, 0, 1});
  expected[180] = 2;
  EXPECT_EQ(ToBytes(*leave), expected);
  SeatRecord got;
  ASSERT_EQ(DecodePlayerLeave(got, *leave), 0);
  EXPECT_EQ(got.seat, 2);
  leave->bytes[180] = 4;
  EXPECT_EQ(DecodePlayerLeave(got, *leave), 1);
  EXPECT_FALSE(BuildPacket(MessageType::PlayerLeave, SeatRecord{1, 4}));

  auto spare = BuildEmptyPacket(MessageType::GameSpare);
  ASSERT_TRUE(spare);
  EXPECT_EQ(ToBytes(*spare), test::Frame(0xABAB0161, 192));
  EXPECT_EQ(DecodeGameSpare(*spare), 0);
}

TEST(Chat, CutAtFiftyEightBytesOnACharacter) {
  std::string seventy(70, 'x');
  auto packet = BuildPacket(MessageType::ChatSay, ChatRecord{1, 2, seventy});
  ASSERT_TRUE(packet);
  Bytes expected = test::Frame(0xABAB0070, 104);
  test::Put(expected, 32, {0, 0, 0, 1, 2});
  std::fill_n(expected.begin() + 37, 58, 'x');
  EXPECT_EQ(ToBytes(*packet), expected);
  ChatRecord got;
  ASSERT_EQ(DecodeChatSay(got, *packet), 0);
  EXPECT_EQ(got.text, std::string(58, 'x'));

  std::string exact(58, 'y');
  ASSERT_EQ(DecodeChatNotice(got, *BuildPacket(MessageType::ChatNotice, ChatRecord{1, 0, exact})),
            0);
  EXPECT_EQ(got.text, exact);

  // One ASCII byte then 30 Chinese characters: 61 bytes. The 58-byte cut
  // would split the 29th character, so it keeps 28 (57 bytes).
  std::string mixed = "a";
  for (int i = 0; i < 30; ++i) mixed += Utf8ToGbk("中");
  ASSERT_EQ(DecodeChatSay(got, *BuildPacket(MessageType::ChatSay, ChatRecord{1, 0, mixed})), 0);
  EXPECT_EQ(got.text.size(), 57u);
  EXPECT_EQ(got.text, mixed.substr(0, 57));

  EXPECT_FALSE(BuildPacket(MessageType::ChatSay, ChatRecord{1, 4, "hi"}));
  Packet bad = *packet;
  bad.bytes[36] = 9;
  EXPECT_EQ(DecodeChatSay(got, bad), 1);
  EXPECT_EQ(DecodeChatNotice(got, bad), 1);
  // A field without a NUL is read to its width and no further.
  Packet full = *packet;
  std::fill_n(full.bytes.begin() + 37, 59, 'z');
  ASSERT_EQ(DecodeChatSay(got, full), 0);
  EXPECT_EQ(got.text, std::string(59, 'z'));
}

TEST(Icons, LayoutAndRelay) {
  auto change = BuildPacket(MessageType::IconChange, IconRecord{1, 22, 40, 3});
  ASSERT_TRUE(change);
  Bytes expected = test::Frame(0xABAB0040, 56);
  test::Put(expected, 32, {0, 0, 0, 1, 0, 0, 0, 22, 0, 0, 0, 40, 3});
  EXPECT_EQ(ToBytes(*change), expected);

  IconRecord got;
  ASSERT_EQ(DecodeIconChange(got, *change), 0);
  ASSERT_EQ(RewriteHeader(*change, MessageType::IconNotice), 0);
  IconRecord relayed;
  ASSERT_EQ(DecodeIconNotice(relayed, *change), 0);
  EXPECT_EQ(relayed.seat, 3);
  EXPECT_EQ(relayed.headIcon, 40);
  EXPECT_EQ(relayed.serviceIcon, 22);

  change->bytes[44] = 4;
  EXPECT_EQ(DecodeIconChangeAlt(got, *change), 1);
  EXPECT_EQ(DecodeIconNoticeAlt(got, *change), 1);
  EXPECT_FALSE(BuildPacket(MessageType::IconChangeAlt, IconRecord{1, 1, 1, 4}));
}

}  // namespace
}  // namespace quarn
