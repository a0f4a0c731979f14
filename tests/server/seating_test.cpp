// Logins, the deal that the fourth login starts, and the relays of chat and icons.
#include <algorithm>
#include <set>

#include "tests/server/harness.h"

namespace quarn::server::testing {
namespace {

LoginRecord DecodeReply(const SentPacket& sent) {
  LoginRecord reply;
  EXPECT_EQ(DecodeLoginReply(reply, PacketFromBytes(sent.bytes)), 0);
  return reply;
}

TEST(Login, SeatChoiceRepliesAndIds) {
  Harness h("login_seats");
  h.Open(1);
  // Table 7 and seat 9 are handled as table 1, seat 0.
  h.Send(1, MessageType::LoginRequest, MakeLoginRequest("Ann", "secret", 2, 5, 7, 9));
  auto sent = h.host.TakeSent();
  ASSERT_EQ(Kinds(sent), (std::vector{MessageType::LoginReply, MessageType::SeatList}));
  EXPECT_EQ(sent[0].connection, 1u);
  const LoginRecord reply = DecodeReply(sent[0]);
  EXPECT_EQ(reply.tableNumber, 1);
  EXPECT_EQ(reply.seat, 0);
  EXPECT_EQ(reply.name[0], "Ann");
  // Neither answer carries the password or its length.
  for (const SentPacket& packet : sent) {
    EXPECT_TRUE(std::all_of(packet.bytes.begin() + 144, packet.bytes.begin() + 164,
                            [](std::uint8_t b) { return b == 0; }));
  }
  EXPECT_EQ(h.host.pauses.front(), std::chrono::milliseconds(200));

  // A taken seat gives the first free seat counted from 0; a free wanted seat stands.
  h.Open(2);
  h.Login(2, "Bob", 0);
  EXPECT_EQ(DecodeReply(h.host.TakeSent()[0]).seat, 1);
  h.Open(3);
  h.Login(3, "Cy", 3);
  sent = h.host.TakeSent();
  EXPECT_EQ(DecodeReply(sent[0]).seat, 3);
  // The list goes to every seated connection and shows the empty seat 2.
  const auto lists = OfKind(sent, MessageType::SeatList);
  ASSERT_EQ(lists.size(), 3u);
  EXPECT_EQ(lists[0].connection, 1u);
  EXPECT_EQ(lists[2].connection, 3u);
  LoginRecord list;
  DecodeSeatList(list, PacketFromBytes(lists[0].bytes));
  EXPECT_EQ(list.nameLength, (std::array<std::int32_t, 4>{3, 3, 0, 2}));
  EXPECT_EQ(list.name[1], "Bob");
  const Packet raw = PacketFromBytes(lists[0].bytes);
  EXPECT_EQ(raw.bytes[112 + 2 * 4 + 3], 1);  // service icon of the empty seat
  EXPECT_EQ(raw.bytes[128 + 2 * 4 + 3], 1);  // head icon of the empty seat
  EXPECT_EQ(raw.bytes[112 + 3], 2);

  const TServerTable& table = h.table();
  EXPECT_EQ(table.Count, 3u);
  EXPECT_EQ(table.Status, TableWaiting);
  EXPECT_EQ(table.Players[0].Id, 1);
  EXPECT_EQ(table.Players[1].Id, 2);
  EXPECT_EQ(table.Players[3].Id, 3);
  EXPECT_EQ(table.Players[0].Password, "secret");
  EXPECT_EQ(table.Players[0].HeadIcon, 5);
  EXPECT_EQ(table.Players[0].ServiceIcon, 2);
}

TEST(Login, RefusedRequestsGetNoAnswerAndChangeNothing) {
  Harness h("login_refused");
  h.Open(1);
  h.Login(1, "Ann");
  h.host.TakeSent();
  // An empty name does not decode.
  Packet empty = *BuildPacket(MessageType::LoginRequest, MakeLoginRequest("Zed", "", 1, 1, 1, 0));
  std::fill(empty.bytes.begin() + 48, empty.bytes.begin() + 64, 0);
  h.Open(2);
  h.Receive(2, empty);
  // A seated connection cannot take a second seat.
  h.Login(1, "Again", 2);
  EXPECT_TRUE(h.host.TakeSent().empty());
  EXPECT_EQ(h.table().Count, 1u);
  EXPECT_EQ(h.table().Status, TableWaiting);

  // A fifth login while the game runs gets no answer at all.
  for (ConnectionId id = 3; id <= 5; ++id) {
    h.Open(id);
    h.Login(id, "P" + std::to_string(id));
  }
  const std::int8_t status = h.table().Status;
  h.host.TakeSent();
  h.Open(6);
  h.Login(6, "Fifth");
  EXPECT_TRUE(h.host.TakeSent().empty());
  EXPECT_EQ(h.table().Count, 4u);
  EXPECT_EQ(h.table().Status, status);
}

// The fourth login: reply, list, the deal with its pauses, then the opening of
// the bidding or the settled landlord.
void ExpectFourthLoginOrder(bool allowBid) {
  Harness h(allowBid ? "fourth_bid" : "fourth_nobid", allowBid);
  for (ConnectionId id = 1; id <= 3; ++id) {
    h.Open(id);
    h.Login(id, "P" + std::to_string(id));
  }
  h.host.TakeSent();
  h.host.pauses.clear();
  h.Open(4);
  h.Login(4, "Dee");

  std::vector<std::string> order;  // "pause" marks where the pauses fell
  for (const SentPacket& packet : h.host.sent) {
    order.push_back(packet.connection == kNoConnection ? "pause"
                                                       : std::string(MessageName(TypeOf(packet))));
  }
  const std::uint32_t landlord = h.table().Landlord;
  std::vector<std::string> expected = {"LoginReply", "pause"};
  for (int i = 0; i < 4; ++i) expected.push_back("SeatList");
  expected.push_back("pause");
  for (int i = 0; i < 4; ++i) expected.push_back("DealCards");
  expected.push_back("pause");
  for (int i = 0; i < 4; ++i) expected.push_back("StartCardNotice");
  expected.push_back("pause");
  if (allowBid) {
    for (int i = 0; i < 4; ++i) expected.push_back("BidStart");
  } else {
    expected.push_back("ExtraCards");
    for (int i = 0; i < 4; ++i) expected.push_back("BidResult");
  }
  EXPECT_EQ(order, expected);
  EXPECT_EQ(h.host.pauses, (std::vector<std::chrono::milliseconds>{
                               std::chrono::milliseconds(200), std::chrono::milliseconds(500),
                               std::chrono::milliseconds(500), std::chrono::milliseconds(500)}));

  const auto sent = h.host.TakeSent();
  const auto deals = OfKind(sent, MessageType::DealCards);
  for (ConnectionId seat = 0; seat < 4; ++seat) EXPECT_EQ(deals[seat].connection, seat + 1);
  EXPECT_EQ(h.table().StartSeat(), landlord);
  if (allowBid) {
    BidRecord start;
    ASSERT_EQ(DecodeBidStart(start, PacketFromBytes(OfKind(sent, MessageType::BidStart)[0].bytes)),
              0);
    EXPECT_EQ(start.seat, h.table().StartSeat());
    EXPECT_EQ(start.points, 1);
    EXPECT_EQ(h.table().Status, TableBidding);
  } else {
    EXPECT_EQ(OfKind(sent, MessageType::ExtraCards)[0].connection, h.SocketOf(landlord));
    BidRecord result;
    DecodeBidResult(result, PacketFromBytes(OfKind(sent, MessageType::BidResult)[0].bytes));
    EXPECT_EQ(result.seat, landlord);
    EXPECT_EQ(result.points, 10);
    EXPECT_EQ(h.table().Status, TablePlaying);
    EXPECT_EQ(h.table().Turn, landlord);
    EXPECT_EQ(h.table().HighBid, 10u);
  }
}

TEST(Dealing, FourthLoginSendsInOrderWithAndWithoutBidding) {
  ExpectFourthLoginOrder(false);
  ExpectFourthLoginOrder(true);
}

TEST(Dealing, EverySeatGets25DistinctCardsAnd108InAll) {
  Harness h("deal_cards");
  h.SeatFour();
  const auto sent = h.host.TakeSent();
  std::multiset<int> all;
  for (const SentPacket& packet : OfKind(sent, MessageType::DealCards)) {
    DealRecord deal;
    ASSERT_EQ(DecodeDealCards(deal, PacketFromBytes(packet.bytes)), 0);
    EXPECT_EQ(deal.count, 25);
    EXPECT_EQ(packet.connection, deal.seat + 1u);
    const std::set<int> distinct(deal.cards.begin(), deal.cards.end());
    EXPECT_EQ(distinct.size(), 25u);
    all.insert(deal.cards.begin(), deal.cards.end());
    EXPECT_EQ(h.table().Players[deal.seat].Hand.Count(), deal.seat == h.table().Landlord ? 33 : 25);
  }
  DealRecord extra;
  ASSERT_EQ(
      DecodeExtraCards(extra, PacketFromBytes(OfKind(sent, MessageType::ExtraCards)[0].bytes)), 0);
  all.insert(extra.cards.begin(), extra.cards.begin() + 8);
  ASSERT_EQ(all.size(), 108u);
  int expected = 1;
  for (int card : all) EXPECT_EQ(card, expected++);

  // The start card lies in the starting seat's own deal.
  DealRecord start;
  DecodeStartCardNotice(start,
                        PacketFromBytes(OfKind(sent, MessageType::StartCardNotice)[0].bytes));
  EXPECT_EQ(start.seat, h.table().StartSeat());
  EXPECT_EQ(start.cards[0], h.table().StartCard);
  EXPECT_EQ(h.table().Deck[h.table().StartIndex], h.table().StartCard);
  EXPECT_LT(h.table().StartIndex, 100);
}

TEST(Relays, ChatAndIconsNameTheSendersOwnSeat) {
  Harness h("relays");
  h.Open(1);
  h.Login(1, "Ann", 0);
  h.Open(2);
  h.Login(2, "Bob", 1);
  h.host.TakeSent();

  // Seat 0 claims to be seat 2 at table 7: relayed as seat 0 at table 1.
  h.Send(1, MessageType::ChatSay, ChatRecord{7, 2, "hello"});
  auto sent = h.host.TakeSent();
  ASSERT_EQ(Kinds(sent), (std::vector{MessageType::ChatNotice, MessageType::ChatNotice}));
  ChatRecord chat;
  ASSERT_EQ(DecodeChatNotice(chat, PacketFromBytes(sent[1].bytes)), 0);
  EXPECT_EQ(chat.seat, 0);
  EXPECT_EQ(chat.tableNumber, 1);
  EXPECT_EQ(chat.text, "hello");

  // Seat 1 names seat 3: seat 1's icons change and the notice names seat 1.
  h.Send(2, MessageType::IconChangeAlt, IconRecord{1, 7, 9, 3});
  sent = h.host.TakeSent();
  ASSERT_EQ(Kinds(sent), (std::vector{MessageType::IconNotice, MessageType::IconNotice}));
  IconRecord icons;
  ASSERT_EQ(DecodeIconNotice(icons, PacketFromBytes(sent[0].bytes)), 0);
  EXPECT_EQ(icons.seat, 1);
  EXPECT_EQ(icons.serviceIcon, 7);
  EXPECT_EQ(icons.headIcon, 9);
  EXPECT_EQ(h.table().Players[1].ServiceIcon, 7);
  EXPECT_EQ(h.table().Players[3].HeadIcon, 1);

  // A chat line without its NUL goes out ending within its field.
  Packet raw = *BuildPacket(MessageType::ChatSay, ChatRecord{1, 0, ""});
  std::fill(raw.bytes.begin() + 37, raw.bytes.begin() + 96, 'x');
  h.Receive(1, raw);
  sent = h.host.TakeSent();
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[0].bytes[95], 0);
  EXPECT_EQ(sent[0].bytes[94], 'x');

  // A connection without a seat reaches nothing; a seat of 4 does not decode.
  h.Open(3);
  h.Send(3, MessageType::ChatSay, ChatRecord{1, 0, "hi"});
  h.Send(3, MessageType::IconChange, IconRecord{1, 3, 3, 0});
  raw = *BuildPacket(MessageType::ChatSay, ChatRecord{1, 0, "hi"});
  raw.bytes[36] = 4;
  h.Receive(1, raw);
  EXPECT_TRUE(h.host.TakeSent().empty());
}

}  // namespace
}  // namespace quarn::server::testing
