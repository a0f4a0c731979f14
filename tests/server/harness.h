// A server on a fake host, with helpers that speak to it as clients would.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/rn32.h"
#include "protocol/packet_builder.h"
#include "server/server_app.h"
#include "server/server_table.h"
#include "tests/server/fake_host.h"

namespace quarn::server::testing {

// A fresh, empty directory for the files of one test.
inline std::filesystem::path FreshDir(const std::string& name) {
  const auto dir = std::filesystem::temp_directory_path() /
                   ("quarn_server_test_" + name + "_" + std::to_string(::getpid()));
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir;
}

inline ConsoleSettings QuickSettings(bool allowBid) {
  ConsoleSettings settings;
  settings.allowBid = allowBid;
  return settings;  // pauses stay on: the fake host only records them
}

inline std::uint32_t TypeOf(const SentPacket& sent) {
  return PacketFromBytes(sent.bytes).RawType();
}
inline MessageType Kind(const SentPacket& sent) {
  return static_cast<MessageType>(TypeOf(sent));
}

class Harness {
 public:
  explicit Harness(const std::string& name, bool allowBid = false)
      : dir(FreshDir(name)), app(host, view, dir) {
    app.Initialise(QuickSettings(allowBid));
    SeedWith(20261206);
    EXPECT_EQ(app.Start(QuickSettings(allowBid)), StartResult::Started);
  }

  const TServerTable& table() const { return *app.Table(); }

  void Open(ConnectionId id) { app.ConnectionOpened(id); }
  void Receive(ConnectionId id, const Packet& packet) { app.BytesReceived(id, packet.data()); }
  template <typename Record>
  void Send(ConnectionId id, MessageType type, const Record& record) {
    auto packet = BuildPacket(type, record);
    ASSERT_TRUE(packet.has_value());
    Receive(id, *packet);
  }

  void Login(ConnectionId id, const std::string& name, std::uint8_t seat = 0) {
    Send(id, MessageType::LoginRequest, MakeLoginRequest(name, "pw", 2, 5, 1, seat));
  }
  // Connections 1..4 log in as A, B, C, D at seats 0..3.
  void SeatFour() {
    for (ConnectionId id = 1; id <= 4; ++id) {
      Open(id);
      Login(id, std::string(1, static_cast<char>('A' + id - 1)), static_cast<std::uint8_t>(id - 1));
    }
  }
  ConnectionId SocketOf(std::uint32_t seat) const { return table().Players[seat].Socket; }

  void Bid(std::uint32_t seat, int points) {
    const BidRecord bid{1, static_cast<std::uint8_t>(seat), points};
    Send(SocketOf(seat), points == 0 ? MessageType::BidPass : MessageType::BidOffer, bid);
  }
  void Pass(std::uint32_t seat) {
    Send(SocketOf(seat), MessageType::PlayPass, SeatRecord{1, static_cast<std::uint8_t>(seat)});
  }
  // Plays the cards of the given numbers with the combination the core finds.
  void Play(std::uint32_t seat, const std::vector<std::uint8_t>& cards);
  // The lowest card of a seat's hand.
  std::uint8_t LowestCard(std::uint32_t seat) const;

  std::filesystem::path dir;
  FakeHost host;
  FakeView view;
  ServerApp app;
};

// The types of a list of sends, in order.
std::vector<MessageType> Kinds(const std::vector<SentPacket>& sent);
// The sends of one type.
std::vector<SentPacket> OfKind(const std::vector<SentPacket>& sent, MessageType type);

}  // namespace quarn::server::testing
