#include "tests/support/client_model/fakes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include "client/model/message_handling.h"
#include "core/gbk.h"

namespace quarn::client::testing {

Harness::Harness() {
  table.Me.BindView(&views[0]);
  table.LeftView.BindView(&views[1]);
  table.TopView.BindView(&views[2]);
  table.RightView.BindView(&views[3]);
  table.InitTable();
}

int Harness::Feed(const std::optional<Packet>& packet) {
  EXPECT_TRUE(packet) << "a test packet could not be built";
  return packet ? ReadPacket(table, *packet) : -1;
}

void Harness::SeatFour(int ownSeat) {
  table.Me.SetName("甲乙");
  table.SetGameState(TGameState::LoggingIn);
  Feed(LoginReply(ownSeat));
  Feed(SeatList({"东家", "北家", "西家", "南家"}));
}

void Harness::StartPlay(int ownSeat, int lord) {
  SeatFour(ownSeat);
  Feed(Deal(MessageType::DealCards, ownSeat, LowCards()));
  Feed(Bid(MessageType::BidResult, lord, 10));
}

namespace {

// A deal or a play: the table, the seat and its cards.
template <typename Record>
Record WithCards(std::int32_t table, int seat, const CardBytes& cards) {
  Record record;
  record.tableNumber = table;
  record.seat = static_cast<std::uint8_t>(seat);
  record.count = static_cast<std::uint8_t>(cards.size());
  std::copy_n(cards.begin(), std::min(cards.size(), record.cards.size()), record.cards.begin());
  return record;
}

}  // namespace

Packet Must(std::optional<Packet> packet) {
  EXPECT_TRUE(packet.has_value()) << "a test packet could not be built";
  return packet.value_or(Packet{});
}

Packet LoginReply(int seat, std::int32_t table) {
  return Must(
      BuildPacket(MessageType::LoginReply,
                  MakeLoginRequest("me", "", 1, 1, table, static_cast<std::uint8_t>(seat))));
}

Packet SeatList(const std::array<std::string, 4>& names, std::int32_t table) {
  LoginRecord list;
  list.tableNumber = table;
  for (std::size_t seat = 0; seat < 4; ++seat) {
    list.name[seat] = Utf8ToGbk(names[seat]);
    list.nameLength[seat] = static_cast<std::int32_t>(list.name[seat].size());
    list.serviceIcon[seat] = list.name[seat].empty() ? 1 : static_cast<std::int32_t>(seat + 2);
    list.headIcon[seat] = list.name[seat].empty() ? 1 : static_cast<std::int32_t>(seat + 10);
  }
  return Must(BuildPacket(MessageType::SeatList, list));
}

Packet Deal(MessageType type, int seat, const CardBytes& cards, std::int32_t table) {
  return Must(BuildPacket(type, WithCards<DealRecord>(table, seat, cards)));
}

Packet Bid(MessageType type, int seat, int points, std::int32_t table) {
  return Must(BuildPacket(type, BidRecord{table, static_cast<std::uint8_t>(seat), points}));
}

Packet PlayNotice(int seat, const CardBytes& cards, std::int32_t table) {
  return Must(BuildPacket(MessageType::PlayNotice, WithCards<PlayRecord>(table, seat, cards)));
}

Packet SeatMessage(MessageType type, int seat, std::int32_t table) {
  return Must(BuildPacket(type, SeatRecord{table, static_cast<std::uint8_t>(seat)}));
}

Packet GameEnd(int winner, const std::array<std::int32_t, 4>& scores, std::int32_t table,
               const std::array<std::string, 4>& names) {
  GameEndRecord end;
  end.tableNumber = table;
  for (std::size_t seat = 0; seat < 4; ++seat) {
    end.name[seat] = Utf8ToGbk(names[seat]);
    end.nameLength[seat] = static_cast<std::int32_t>(end.name[seat].size());
    end.rounds[seat] = 1;
    end.score[seat] = scores[seat];
  }
  end.winner = static_cast<std::uint8_t>(winner);
  return Must(BuildPacket(MessageType::GameEnd, end));
}

Packet Chat(int seat, const std::string& utf8Text) {
  return Must(BuildPacket(MessageType::ChatNotice,
                          ChatRecord{1, static_cast<std::uint8_t>(seat), Utf8ToGbk(utf8Text)}));
}

std::optional<Packet> RandomServerPacket(const std::function<int(int, int)>& pick, int ownSeat) {
  using enum MessageType;
  const int table = pick(0, 9) == 0 ? 2 : 1;
  const int seat = pick(0, 3);
  CardBytes cards(33);
  for (auto& card : cards) card = static_cast<std::uint8_t>(pick(1, 108));
  const auto first = [&cards](int n) { return CardBytes(cards.begin(), cards.begin() + n); };
  std::optional<Packet> packet = [&]() -> std::optional<Packet> {
    switch (pick(0, 14)) {
      case 0:
        return testing::LoginReply(seat, table);
      case 1:
        return testing::SeatList({"a", pick(0, 1) ? "b" : "", "c", "d"}, table);
      case 2:
        return Deal(DealCards, seat, first(pick(1, 25)), table);
      case 3:
        return Deal(StartCardNotice, seat, first(1), table);
      case 4:
        return Deal(ExtraCards, seat, first(8), table);
      case 5:
      case 6:
      case 7:
        return Bid(std::array{BidStart, BidTurn, BidResult}[pick(0, 2)], seat, pick(0, 255), table);
      case 8:
        return testing::PlayNotice(seat, first(pick(0, 33)), table);
      case 9:
        return SeatMessage(PlayTurn, pick(0, 2) ? ownSeat : seat, table);
      case 10:
        return testing::GameEnd(seat, {1, -1, 2, -2}, table);
      case 11:
        return SeatMessage(PlayerLeave, seat, table);
      case 12:
        return BuildPacket(ChatNotice, ChatRecord{table, 1, "hi"});
      case 13:
        return BuildPacket(IconNotice, IconRecord{table, 2, pick(0, 50), 3});
      default:
        break;
    }
    // Random bodies for the types with the most fields.
    const MessageType types[] = {PlayNotice, DealCards, GameEnd, TableState, TurnClock};
    std::optional<Packet> noise = BuildEmptyPacket(types[pick(0, 4)]);
    for (std::size_t at = HeaderSize; at + TailSize < noise->length; ++at) {
      noise->bytes[at] = static_cast<std::uint8_t>(pick(0, 255));
    }
    noise->bytes[35] = 1;  // the table number, often right
    return noise;
  }();
  if (pick(0, 19) == 0) packet->bytes[pick(32, static_cast<int>(packet->length) - 1)] ^= 0x5A;
  return packet;
}

CardBytes LowCards(int first, int count) {
  CardBytes cards(static_cast<std::size_t>(count));
  std::iota(cards.begin(), cards.end(), static_cast<std::uint8_t>(first));
  return cards;
}

}  // namespace quarn::client::testing
