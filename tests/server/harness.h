// A started server on a fake host, and helpers that speak to it as clients do.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/rn32.h"
#include "protocol/packet_builder.h"
#include "server/server_app.h"
#include "server/server_table.h"
#include "tests/server/fake_host.h"
#include "tests/support/child_process.h"

namespace quarn::server::testing {

inline MessageType Kind(const SentPacket& sent) {
  return static_cast<MessageType>(PacketFromBytes(sent.bytes).RawType());
}
std::vector<MessageType> Kinds(const std::vector<SentPacket>& sent);
std::vector<SentPacket> OfKind(const std::vector<SentPacket>& sent, MessageType type);
// Decodes a sent packet with one of the protocol's decoders.
template <typename Record, typename Decoder>
Record Decoded(const SentPacket& sent, Decoder decode) {
  Record record;
  EXPECT_EQ(decode(record, PacketFromBytes(sent.bytes)), 0);
  return record;
}

class Harness {
 public:
  explicit Harness(bool allowBid = false) : app(host, view, dir) {
    ConsoleSettings settings;
    settings.allowBid = allowBid;
    app.Initialise(settings);
    SeedWith(20261206);  // repeatable deals
    EXPECT_EQ(app.Start(settings), StartResult::Started);
  }

  const TServerTable& table() const { return *app.Table(); }
  ConnectionId SocketOf(std::uint32_t seat) const { return table().Players[seat].Socket; }

  void Open(ConnectionId id) { app.ConnectionOpened(id); }
  void Receive(ConnectionId id, const Packet& packet) { app.BytesReceived(id, packet.data()); }
  template <typename Record>
  void Send(ConnectionId id, MessageType type, const Record& record) {
    Receive(id, *BuildPacket(type, record));
  }
  void Login(ConnectionId id, const std::string& name, std::uint8_t seat = 0) {
    Send(id, MessageType::LoginRequest, MakeLoginRequest(name, "pw", 2, 5, 1, seat));
  }
  // Connections 1..4 log in as A, B, C, D at seats 0..3.
  void SeatFour();
  // A bid of 0 is sent as a pass.
  void Bid(std::uint32_t seat, int points);
  void Pass(std::uint32_t seat) {
    Send(SocketOf(seat), MessageType::PlayPass, SeatRecord{1, static_cast<std::uint8_t>(seat)});
  }
  // Plays the lowest card of the seat's hand as a single.
  void PlayLowest(std::uint32_t seat);

  test::TempDir dir;
  FakeHost host;
  FakeView view;
  ServerApp app;
};

}  // namespace quarn::server::testing
