#include <gtest/gtest.h>

#include "core/gbk.h"
#include "protocol/packet_builder.h"
#include "test_bytes.h"

namespace quarn {
namespace {

using test::Bytes;
using test::ToBytes;

Packet Request(const std::string& name, const std::string& password = "") {
  return BuildPacket(MessageType::LoginRequest, MakeLoginRequest(name, password, 4, 6, 1, 3))
      .value_or(Packet{});
}

TEST(Login, RequestOfAThreeByteNameIsByteExact) {
  EXPECT_EQ(test::Built(MessageType::LoginRequest, MakeLoginRequest("abc", "", 2, 5, 1, 3)),
            test::Frame(0xABAB00C1, 180,
                        {{32, {0, 0, 0, 3}},
                         {48, {'a', 'b', 'c'}},
                         {112, {0, 0, 0, 2}},
                         {128, {0, 0, 0, 5}},
                         {164, {0, 0, 0, 1, 3}}}));
}

TEST(Login, LongNamesAreCutAtACharacterAndKeepTheTypedLength) {
  // 20 typed bytes: the word says 20, the field holds the first 15.
  const Packet packet = Request("abcdefghijklmnopqrst", "pw");
  EXPECT_EQ(packet.bytes[35], 20);
  EXPECT_EQ(packet.bytes[63], 0);
  LoginRecord decoded;
  ASSERT_EQ(DecodeLoginRequest(decoded, packet), 0);
  EXPECT_EQ(decoded.name[0], "abcdefghijklmno");
  EXPECT_EQ(decoded.nameLength[0], 20);
  EXPECT_EQ(decoded.password, "pw");
  ASSERT_EQ(DecodeLoginRequest(decoded, Request("abcdefghijklmno")), 0);  // 15 go whole
  EXPECT_EQ(decoded.name[0], "abcdefghijklmno");
  // Eight Chinese characters are 16 bytes: the cut keeps seven whole ones.
  const std::string gbk = Utf8ToGbk("一二三四五六七八");
  ASSERT_EQ(DecodeLoginRequest(decoded, Request(gbk, gbk)), 0);
  EXPECT_EQ(GbkToUtf8(decoded.name[0]), "一二三四五六七");
  EXPECT_EQ(GbkToUtf8(decoded.password), "一二三四五六七");
  EXPECT_EQ(decoded.nameLength[0], 16);
}

TEST(Login, RequestRefusals) {
  EXPECT_FALSE(BuildPacket(MessageType::LoginRequest, MakeLoginRequest("", "", 1, 1, 1, 0)));
  // Text after an embedded NUL does not count as a name.
  EXPECT_FALSE(BuildPacket(MessageType::LoginRequest,
                           MakeLoginRequest(std::string("\0x", 2), "", 1, 1, 1, 0)));
  const Packet packet = Request("ann");
  LoginRecord record;
  Packet noNul = packet;
  std::fill_n(noNul.bytes.begin() + 48, 16, 'x');  // 16 bytes, no NUL
  EXPECT_EQ(DecodeLoginRequest(record, noNul), 1);
  EXPECT_EQ(DecodeLoginRequest(record, test::With(noNul, 63, 0)), 0);   // 15 and a NUL
  EXPECT_EQ(DecodeLoginRequest(record, test::With(packet, 48, 0)), 1);  // an empty name
  Packet shortRead = packet;
  shortRead.length = 179;
  EXPECT_EQ(DecodeLoginRequest(record, shortRead), 1);
}

// The server answers in the request's buffer: only the reply's fields change.
TEST(Login, ReplyInPlaceDropsThePassword) {
  Packet packet = Request("ann", "secret");
  LoginRecord reply;
  ASSERT_EQ(DecodeLoginRequest(reply, packet), 0);
  Bytes expected = ToBytes(packet);
  expected[18] = 0x01;
  test::Put(expected, 144, Bytes(10, 0));  // password length and text
  test::Put(expected, 164, {0, 0, 0, 1, 0});
  reply.tableNumber = 1;
  reply.seat = 0;
  ASSERT_EQ(RewriteHeader(packet, MessageType::LoginReply), 0);
  ASSERT_EQ(EncodeLoginReply(reply, packet), 0);
  EXPECT_EQ(ToBytes(packet), expected);  // the icons stay as the client sent them

  LoginRecord got;
  ASSERT_EQ(DecodeLoginReply(got, packet), 0);
  EXPECT_EQ(got.tableNumber, 1);
  EXPECT_EQ(got.seat, 0);
  EXPECT_EQ(got.name[0], "ann");
  EXPECT_EQ(got.nameLength[0], 3);

  // The refusal form encodes but fails the client's decoder.
  reply.tableNumber = RefusedTable;
  reply.seat = RefusedSeat;
  EXPECT_EQ(EncodeLoginReply(reply, packet), 0);
  EXPECT_EQ(DecodeLoginReply(got, packet), 1);
  reply.tableNumber = 1;
  EXPECT_EQ(EncodeLoginReply(reply, packet), 1);  // 255 only with table -1
  reply.seat = 4;
  EXPECT_EQ(EncodeLoginReply(reply, packet), 1);
  packet.bytes[167] = 1;  // table 1, seat 4 on the wire
  packet.bytes[168] = 4;
  EXPECT_EQ(DecodeLoginReply(got, packet), 1);
}

TEST(Login, SeatListWithEmptySeats) {
  const LoginRecord list{.nameLength = {3, 0, 2, 0},
                         .name = {"ann", "", "bo", ""},
                         .serviceIcon = {4, 1, 8, 1},
                         .headIcon = {6, 1, 10, 1},
                         .passwordLength = 5,
                         .password = "never",
                         .tableNumber = 1};
  // Built in place over a request with a password in it.
  Packet packet = Request("ann", "pw");
  ASSERT_EQ(RewriteHeader(packet, MessageType::SeatList), 0);
  ASSERT_EQ(EncodeSeatList(list, packet), 0);
  EXPECT_EQ(ToBytes(packet),
            test::Frame(0xABAB01C2, 180,
                        {{32, {0, 0, 0, 3, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 0}},
                         {48, {'a', 'n', 'n'}},
                         {80, {'b', 'o'}},
                         {112, {0, 0, 0, 4, 0, 0, 0, 1, 0, 0, 0, 8, 0, 0, 0, 1}},
                         {128, {0, 0, 0, 6, 0, 0, 0, 1, 0, 0, 0, 10, 0, 0, 0, 1}},
                         {164, {0, 0, 0, 1, 3}}}));  // the seat byte is left from the request

  // The decoder reads only occupied slots; the others keep what the client had.
  LoginRecord shown;
  shown.name[1] = "old";
  shown.headIcon[1] = 33;
  ASSERT_EQ(DecodeSeatList(shown, packet), 0);
  EXPECT_EQ(shown.name, (std::array<std::string, 4>{"ann", "old", "bo", ""}));
  EXPECT_EQ(shown.headIcon[2], 10);
  EXPECT_EQ(shown.headIcon[1], 33);
  EXPECT_EQ(shown.nameLength[1], 0);
  EXPECT_EQ(shown.tableNumber, 1);
}

}  // namespace
}  // namespace quarn
