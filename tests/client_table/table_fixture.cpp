#include "table_fixture.h"

#include <gtest/gtest.h>

#include "client/model/message_handling.h"

namespace quarn::client::testing {

TableFixture::TableFixture() {
  EXPECT_TRUE(listener_.listen(QHostAddress::LocalHost, 0));
  form.ClientSocketMain().SetWriteOverride([this](std::span<const std::uint8_t> bytes) {
    written.push_back(PacketFromBytes(bytes));
    return true;
  });
  TableWindows windows;
  windows.login = [this]() -> std::optional<LoginOutcome> {
    if (!loginAccepts) return std::nullopt;
    if (form.OpenConnection("127.0.0.1", listener_.serverPort()) != 0) return std::nullopt;
    return LoginOutcome{ownName, 2, 7};
  };
  windows.bid = [this](int current, int proposed) { bidWindows.emplace_back(current, proposed); };
  windows.showHero = [this] { ++heroShown; };
  windows.resetHero = [this] { ++heroReset; };
  windows.showTalk = [this](bool visible) { talkHidden += visible ? 0 : 1; };
  form.SetWindows(std::move(windows));
  form.show();
}

void TableFixture::Login(const QString& name) {
  ownName = name;
  form.BtnLoginClick();
}

void TableFixture::SeatFour(int ownSeat) {
  Login(QString::fromStdString(names[static_cast<std::size_t>(ownSeat)]));
  Feed(LoginReply(ownSeat));
  Feed(SeatList(names));
}

void TableFixture::StartPlay(int ownSeat, int lord) {
  SeatFour(ownSeat);
  Feed(Deal(MessageType::DealCards, ownSeat, LowCards()));
  Feed(Bid(MessageType::BidResult, lord, 10));
  if (lord == ownSeat) Feed(Deal(MessageType::ExtraCards, ownSeat, LowCards(60, 8)));
}

void TableFixture::Feed(const Packet& packet) {
  EXPECT_EQ(ReadPacket(form.Table(), packet), 0);
}

std::vector<Packet> TableFixture::Written(MessageType type) const {
  std::vector<Packet> found;
  for (const Packet& packet : written) {
    if (packet.RawType() == static_cast<std::uint32_t>(type)) found.push_back(packet);
  }
  return found;
}

}  // namespace quarn::client::testing
