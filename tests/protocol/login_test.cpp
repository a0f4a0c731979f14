#include <gtest/gtest.h>

#include "core/gbk.h"
#include "protocol/packet_builder.h"
#include "test_bytes.h"

namespace quarn {
namespace {

using test::Bytes;
using test::ToBytes;

TEST(Login, RequestOfAThreeByteNameIsByteExact) {
  auto packet = BuildPacket(MessageType::LoginRequest, MakeLoginRequest("abc", "", 2, 5, 1, 3));
  ASSERT_TRUE(packet);
  Bytes expected = test::Frame(0xABAB00C1, 180);
  test::Put(expected, 32, {0, 0, 0, 3});
  test::Put(expected, 48, {'a', 'b', 'c'});
  test::Put(expected, 112, {0, 0, 0, 2});
  test::Put(expected, 128, {0, 0, 0, 5});
  test::Put(expected, 164, {0, 0, 0, 1});
  expected[168] = 3;
  EXPECT_EQ(ToBytes(*packet), expected);
}

TEST(Login, LongNamesAreCutAtACharacterAndKeepTheTypedLength) {
  // 20 typed bytes: the word says 20, the field holds the first 15.
  auto packet = BuildPacket(MessageType::LoginRequest,
                            MakeLoginRequest("abcdefghijklmnopqrst", "pw", 1, 1, 1, 0));
  ASSERT_TRUE(packet);
  EXPECT_EQ(packet->bytes[35], 20);
  EXPECT_EQ(std::string(packet->bytes.begin() + 48, packet->bytes.begin() + 63), "abcdefghijklmno");
  EXPECT_EQ(packet->bytes[63], 0);
  LoginRecord decoded;
  EXPECT_EQ(DecodeLoginRequest(decoded, *packet), 0);
  EXPECT_EQ(decoded.name[0], "abcdefghijklmno");
  EXPECT_EQ(decoded.nameLength[0], 20);
  EXPECT_EQ(decoded.password, "pw");

  // Exactly 15 bytes go whole.
  auto fifteen =
      BuildPacket(MessageType::LoginRequest, MakeLoginRequest("abcdefghijklmno", "", 1, 1, 1, 0));
  ASSERT_TRUE(fifteen);
  EXPECT_EQ(DecodeLoginRequest(decoded, *fifteen), 0);
  EXPECT_EQ(decoded.name[0], "abcdefghijklmno");

  // Eight Chinese characters are 16 bytes: the cut keeps seven whole ones
  // (14 bytes) instead of splitting the eighth.
  std::string gbk = Utf8ToGbk("一二三四五六七八");
  ASSERT_EQ(gbk.size(), 16u);
  auto chinese = BuildPacket(MessageType::LoginRequest, MakeLoginRequest(gbk, gbk, 1, 1, 1, 0));
  ASSERT_TRUE(chinese);
  EXPECT_EQ(DecodeLoginRequest(decoded, *chinese), 0);
  EXPECT_EQ(GbkToUtf8(decoded.name[0]), "一二三四五六七");
  EXPECT_EQ(GbkToUtf8(decoded.password), "一二三四五六七");
  EXPECT_EQ(decoded.nameLength[0], 16);
}

TEST(Login, RequestRefusals) {
  EXPECT_FALSE(BuildPacket(MessageType::LoginRequest, MakeLoginRequest("", "", 1, 1, 1, 0)));
  // Text after an embedded NUL does not count as a name.
  EXPECT_FALSE(BuildPacket(MessageType::LoginRequest,
                           MakeLoginRequest(std::string("\0x", 2), "", 1, 1, 1, 0)));

  auto packet = BuildPacket(MessageType::LoginRequest, MakeLoginRequest("ann", "", 1, 1, 1, 0));
  ASSERT_TRUE(packet);
  LoginRecord record;
  Packet noNul = *packet;
  std::fill_n(noNul.bytes.begin() + 48, 16, 'x');  // 16 bytes, no NUL
  EXPECT_EQ(DecodeLoginRequest(record, noNul), 1);
  Packet empty = *packet;
  empty.bytes[48] = 0;
  EXPECT_EQ(DecodeLoginRequest(record, empty), 1);
  Packet fifteen = *packet;
  std::fill_n(fifteen.bytes.begin() + 48, 15, 'y');
  EXPECT_EQ(DecodeLoginRequest(record, fifteen), 0);
  Packet shortRead = *packet;
  shortRead.length = 179;
  EXPECT_EQ(DecodeLoginRequest(record, shortRead), 1);
}

// The server answers in the request's buffer: only the reply's fields change.
TEST(Login, ReplyInPlaceDropsThePassword) {
  auto packet =
      BuildPacket(MessageType::LoginRequest, MakeLoginRequest("ann", "secret", 7, 9, 7, 2));
  ASSERT_TRUE(packet);
  LoginRecord request;
  ASSERT_EQ(DecodeLoginRequest(request, *packet), 0);
  Bytes before = ToBytes(*packet);

  LoginRecord reply = request;
  reply.tableNumber = 1;
  reply.seat = 0;
  ASSERT_EQ(RewriteHeader(*packet, MessageType::LoginReply), 0);
  ASSERT_EQ(EncodeLoginReply(reply, *packet), 0);
  Bytes after = ToBytes(*packet);
  Bytes expected = before;
  expected[18] = 0x01;
  test::Put(expected, 144, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0});  // password length and text
  test::Put(expected, 164, {0, 0, 0, 1, 0});
  EXPECT_EQ(after, expected);  // icons 7 and 9 stay as the client sent them

  LoginRecord got;
  EXPECT_EQ(DecodeLoginReply(got, *packet), 0);
  EXPECT_EQ(got.tableNumber, 1);
  EXPECT_EQ(got.seat, 0);
  EXPECT_EQ(got.name[0], "ann");
  EXPECT_EQ(got.nameLength[0], 3);

  // The refusal form encodes but fails the client's decoder.
  reply.tableNumber = RefusedTable;
  reply.seat = RefusedSeat;
  EXPECT_EQ(EncodeLoginReply(reply, *packet), 0);
  EXPECT_EQ(DecodeLoginReply(got, *packet), 1);
  reply.tableNumber = 1;
  EXPECT_EQ(EncodeLoginReply(reply, *packet), 1);  // 255 only with table -1
  reply.seat = 4;
  EXPECT_EQ(EncodeLoginReply(reply, *packet), 1);
  packet->bytes[167] = 1;  // table 1, seat 4 on the wire
  packet->bytes[168] = 4;
  EXPECT_EQ(DecodeLoginReply(got, *packet), 1);
}

TEST(Login, SeatListWithEmptySeats) {
  LoginRecord list;
  list.tableNumber = 1;
  for (std::size_t seat : {1u, 3u}) list.serviceIcon[seat] = list.headIcon[seat] = 1;
  list.nameLength[0] = 3;
  list.name[0] = "ann";
  list.serviceIcon[0] = 4;
  list.headIcon[0] = 6;
  list.nameLength[2] = 2;
  list.name[2] = "bo";
  list.serviceIcon[2] = 8;
  list.headIcon[2] = 10;
  list.password = "never";
  list.passwordLength = 5;

  // Built in place over a request with a password in it.
  auto packet = BuildPacket(MessageType::LoginRequest, MakeLoginRequest("ann", "pw", 4, 6, 1, 3));
  ASSERT_TRUE(packet);
  ASSERT_EQ(RewriteHeader(*packet, MessageType::SeatList), 0);
  ASSERT_EQ(EncodeSeatList(list, *packet), 0);

  Bytes expected = test::Frame(0xABAB01C2, 180);
  test::Put(expected, 32, {0, 0, 0, 3, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 0});
  test::Put(expected, 48, {'a', 'n', 'n'});
  test::Put(expected, 80, {'b', 'o'});
  test::Put(expected, 112, {0, 0, 0, 4, 0, 0, 0, 1, 0, 0, 0, 8, 0, 0, 0, 1});
  test::Put(expected, 128, {0, 0, 0, 6, 0, 0, 0, 1, 0, 0, 0, 10, 0, 0, 0, 1});
  test::Put(expected, 164, {0, 0, 0, 1, 3});  // the seat byte is left from the request
  EXPECT_EQ(ToBytes(*packet), expected);

  // The decoder reads only occupied slots; the others keep what the client had.
  LoginRecord shown;
  shown.name[1] = "old";
  shown.headIcon[1] = 33;
  EXPECT_EQ(DecodeSeatList(shown, *packet), 0);
  EXPECT_EQ(shown.name[0], "ann");
  EXPECT_EQ(shown.name[2], "bo");
  EXPECT_EQ(shown.headIcon[2], 10);
  EXPECT_EQ(shown.nameLength[1], 0);
  EXPECT_EQ(shown.name[1], "old");
  EXPECT_EQ(shown.headIcon[1], 33);
  EXPECT_EQ(shown.tableNumber, 1);
}

}  // namespace
}  // namespace quarn
