// Logins and the relays of chat and icons.
#include "tests/server/harness.h"

namespace quarn::server::testing {
namespace {

TEST(Login, SeatChoiceAndReplies) {
  Harness h;
  h.Open(1);  // table 7 and seat 9 are taken as table 1, seat 0
  h.Send(1, MessageType::LoginRequest, MakeLoginRequest("Ann", "secret", 2, 5, 7, 9));
  h.Open(2);
  h.Login(2, "Bob", 0);  // taken: the lowest free seat
  h.Open(3);
  h.Login(3, "Cy", 3);
  const auto sent = h.host.TakeSent();
  const auto replies = OfKind(sent, MessageType::LoginReply);
  std::vector<int> seats;
  for (const auto& reply : replies) {
    const auto record = Decoded<LoginRecord>(reply, DecodeLoginReply);
    EXPECT_EQ(record.tableNumber, 1);
    seats.push_back(record.seat);
  }
  EXPECT_EQ(seats, (std::vector{0, 1, 3}));
  for (const SentPacket& packet : sent) {  // no password, no password length
    EXPECT_EQ(std::count(packet.bytes.begin() + 144, packet.bytes.begin() + 164, 0), 20);
  }
  const auto lists = OfKind(sent, MessageType::SeatList);
  ASSERT_EQ(lists.size(), 1u + 2u + 3u);
  const auto list = Decoded<LoginRecord>(lists.back(), DecodeSeatList);
  EXPECT_EQ(list.nameLength, (std::array{3, 3, 0, 2}));
  EXPECT_EQ(lists.back().bytes[112 + 8 + 3], 1);  // an empty seat's icons are 1 and 1
  EXPECT_EQ(lists.back().bytes[128 + 8 + 3], 1);
  const TServerTable& t = h.table();
  EXPECT_EQ(t.Count, 3u);
  EXPECT_EQ(t.Status, TableWaiting);
  EXPECT_EQ(t.Players[3].Id, 3);
  EXPECT_EQ(t.Players[0].Password, "secret");
}

// An empty name is the decoder's to refuse (the golden vectors), a second
// login on one connection the service fuzzer's; a full table's is not answered.
TEST(Login, AFullTableGivesTheFifthNoAnswerAtAll) {
  Harness h;
  for (ConnectionId id = 1; id <= 5; ++id) {
    h.Open(id);
    h.Login(id, "P" + std::to_string(id));
  }
  EXPECT_EQ(OfKind(h.host.TakeSent(), MessageType::LoginReply).size(), 4u);
  EXPECT_EQ(h.table().Count, 4u);
  EXPECT_EQ(h.table().Status, TablePlaying);
}

TEST(Relays, ChatAndIconsNameTheSendersOwnSeat) {
  Harness h;
  h.Open(1);
  h.Login(1, "Ann", 0);
  h.Open(2);
  h.Login(2, "Bob", 1);
  h.host.TakeSent();
  h.Send(1, MessageType::ChatSay, ChatRecord{7, 2, "hello"});     // claims seat 2, table 7
  h.Send(2, MessageType::IconChangeAlt, IconRecord{1, 7, 9, 3});  // claims seat 3
  auto sent = h.host.TakeSent();
  ASSERT_EQ(sent.size(), 4u);
  const auto chat = Decoded<ChatRecord>(sent[1], DecodeChatNotice);
  EXPECT_EQ(std::tie(chat.seat, chat.tableNumber, chat.text), std::tuple(0, 1, "hello"));
  const auto icons = Decoded<IconRecord>(sent[2], DecodeIconNotice);
  EXPECT_EQ(std::tie(icons.seat, icons.serviceIcon, icons.headIcon), std::tuple(1, 7, 9));
  EXPECT_EQ(h.table().Players[1].HeadIcon, 9);
  EXPECT_EQ(h.table().Players[3].HeadIcon, 1);

  Packet raw = *BuildPacket(MessageType::ChatSay, ChatRecord{1, 0, ""});
  std::fill(raw.bytes.begin() + 37, raw.bytes.begin() + 96, 'x');  // no NUL in the field
  h.Receive(1, raw);
  EXPECT_EQ(h.host.TakeSent()[0].bytes[95], 0);

  raw.bytes[36] = 4;  // a seat of 4 does not decode
  h.Receive(1, raw);
  EXPECT_TRUE(h.host.TakeSent().empty());
}

}  // namespace
}  // namespace quarn::server::testing
