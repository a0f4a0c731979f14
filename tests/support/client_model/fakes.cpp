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

CardBytes LowCards(int first, int count) {
  CardBytes cards(static_cast<std::size_t>(count));
  std::iota(cards.begin(), cards.end(), static_cast<std::uint8_t>(first));
  return cards;
}

}  // namespace quarn::client::testing
