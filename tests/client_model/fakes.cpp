#include "fakes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include "client/model/client_service.h"
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
  Feed(LoginReplyPacket(1, ownSeat));
  Feed(SeatListPacket(1, {"东家", "北家", "西家", "南家"}));
}

void Harness::StartPlay(int ownSeat, int lord, const std::array<std::uint8_t, 25>& hand) {
  SeatFour(ownSeat);
  Feed(DealPacket(MessageType::DealCards, 1, ownSeat, hand));
  Feed(BidPacket(MessageType::BidResult, 1, lord, 10));
}

namespace {

// A deal or a play: the table, the seat and its cards.
template <typename Record>
Record WithCards(std::int32_t table, int seat, std::span<const std::uint8_t> cards) {
  Record record;
  record.tableNumber = table;
  record.seat = static_cast<std::uint8_t>(seat);
  record.count = static_cast<std::uint8_t>(cards.size());
  std::copy(cards.begin(), cards.end(), record.cards.begin());
  return record;
}

}  // namespace

std::optional<Packet> LoginReplyPacket(std::int32_t table, int seat) {
  LoginRecord reply = MakeLoginRequest("me", "", 1, 1, table, static_cast<std::uint8_t>(seat));
  return BuildPacket(MessageType::LoginReply, reply);
}

std::optional<Packet> SeatListPacket(std::int32_t table, const std::array<std::string, 4>& names) {
  LoginRecord list;
  list.tableNumber = table;
  for (std::size_t seat = 0; seat < 4; ++seat) {
    list.name[seat] = Utf8ToGbk(names[seat]);
    list.nameLength[seat] = static_cast<std::int32_t>(list.name[seat].size());
    list.serviceIcon[seat] = list.name[seat].empty() ? 1 : static_cast<std::int32_t>(seat + 2);
    list.headIcon[seat] = list.name[seat].empty() ? 1 : static_cast<std::int32_t>(seat + 10);
  }
  return BuildPacket(MessageType::SeatList, list);
}

std::optional<Packet> DealPacket(MessageType type, std::int32_t table, int seat,
                                 std::span<const std::uint8_t> cards) {
  return BuildPacket(type, WithCards<DealRecord>(table, seat, cards));
}

std::optional<Packet> BidPacket(MessageType type, std::int32_t table, int seat, int points) {
  return BuildPacket(type, BidRecord{table, static_cast<std::uint8_t>(seat), points});
}

std::optional<Packet> PlayNoticePacket(std::int32_t table, int seat,
                                       std::span<const std::uint8_t> cards) {
  return BuildPacket(MessageType::PlayNotice, WithCards<PlayRecord>(table, seat, cards));
}

std::optional<Packet> SeatPacket(MessageType type, std::int32_t table, int seat) {
  return BuildPacket(type, SeatRecord{table, static_cast<std::uint8_t>(seat)});
}

std::optional<Packet> GameEndPacket(std::int32_t table, int winner,
                                    const std::array<std::int32_t, 4>& scores,
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
  return BuildPacket(MessageType::GameEnd, end);
}

Packet Must(std::optional<Packet> packet) {
  EXPECT_TRUE(packet.has_value()) << "a test packet could not be built";
  return packet.value_or(Packet{});
}

Packet Chat(int seat, const std::string& utf8Text) {
  return Must(BuildPacket(MessageType::ChatNotice,
                          ChatRecord{1, static_cast<std::uint8_t>(seat), Utf8ToGbk(utf8Text)}));
}

std::array<std::uint8_t, 25> FirstCards() {
  std::array<std::uint8_t, 25> cards{};
  std::iota(cards.begin(), cards.end(), std::uint8_t{1});
  return cards;
}

}  // namespace quarn::client::testing
