// A started server on a fake host, and helpers that speak to it as clients do.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/rn32.h"
#include "protocol/packet_builder.h"
#include "server/console_log.h"
#include "server/server_app.h"
#include "server/server_table.h"
#include "server/table_game.h"
#include "tests/support/files.h"
#include "tests/support/server/fake_host.h"

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
  explicit Harness(bool allowBid = false, std::uint32_t tables = 1,
                   LogLevel level = LogLevel::Packets)
      : Harness(ServerSettings{.allowBid = allowBid, .tables = tables}, level) {}
  explicit Harness(const ServerSettings& settings, LogLevel level = LogLevel::Packets)
      : app(host, view, dir, {.level = level}) {
    host.due = [this](TimerId id) { app.TimerDue(id); };
    app.Initialise(settings);
    SeedWith(20261206);  // repeatable deals
    EXPECT_EQ(app.Start(settings), StartResult::Started);
  }

  const TServerTable& table(std::int32_t number = 1) const { return *app.Table(number); }
  ConnectionId SocketOf(std::uint32_t seat, std::int32_t number = 1) const {
    return table(number).Players[seat].Socket;
  }

  void Open(ConnectionId id) { app.ConnectionOpened(id); }
  // With `settle`, the paced steps a packet starts are run at once on the fake clock.
  void Receive(ConnectionId id, const Packet& packet) {
    app.BytesReceived(id, packet.data());
    if (settle) host.RunTimers();
  }
  template <typename Record>
  void Send(ConnectionId id, MessageType type, const Record& record) {
    Receive(id, *BuildPacket(type, record));
  }
  void Login(ConnectionId id, const std::string& name, std::uint8_t seat = 0,
             std::int32_t tableNumber = 1, const std::string& password = "pw") {
    Send(id, MessageType::LoginRequest, MakeLoginRequest(name, password, 2, 5, tableNumber, seat));
  }
  // Connections 1..4 log in as A, B, C, D at seats 0..3.
  void SeatFour();
  // A bid of 0 is sent as a pass.
  void Bid(std::uint32_t seat, int points);
  void Pass(std::uint32_t seat, std::int32_t number = 1) {
    Send(SocketOf(seat, number), MessageType::PlayPass,
         SeatRecord{number, static_cast<std::uint8_t>(seat)});
  }
  // Plays the lowest card of the seat's hand as a single.
  void PlayLowest(std::uint32_t seat, std::int32_t number = 1);
  // One move of a game in play: the landlord leads its lowest card, the others pass.
  void LandlordLeads(std::int32_t number = 1);

  test::TempDir dir;
  FakeHost host;
  FakeView view;
  ServerApp app;
  bool settle = true;
};

// The game of a table in play that the test deals by hand; seat s is
// connection s + 1 and seat 0 has the turn.
struct HandTable {
  HandTable()
      : log(host, view, dir),
        outbox(host, log),
        table(MakeTable(0)),
        scheduler(host),
        game(log, outbox, *table, ids, scheduler) {
    host.due = [this](TimerId id) { scheduler.Fire(id); };
    for (std::uint32_t seat = 0; seat < 4; ++seat) {
      table->Players[seat].Id = static_cast<std::int32_t>(seat + 1);
      table->Players[seat].Socket = seat + 1;
      table->Players[seat].Name = "P" + std::to_string(seat);
    }
    table->Count = 4;
    table->Status = TablePlaying;
  }
  void Give(std::uint32_t seat, const std::vector<std::uint8_t>& cards) {
    table->Players[seat].Hand.Clear();
    table->Players[seat].Hand.AddCards(cards);
  }
  // Claims the type and key the core finds, unless told otherwise.
  int Play(std::uint32_t seat, const std::vector<std::uint8_t>& cards, int type = -1,
           int key = -1) {
    PlayRecord play{.tableNumber = 1,
                    .seat = static_cast<std::uint8_t>(seat),
                    .count = static_cast<std::uint8_t>(cards.size())};
    std::copy(cards.begin(), cards.end(), play.cards.begin());
    TSelectPoker check;
    check.LoadBytes(play.cards);
    check.Classify();
    play.comboType = static_cast<std::uint8_t>(type >= 0 ? type : int(check.Type()));
    play.keyRank = static_cast<std::uint8_t>(key >= 0 ? key : check.Key());
    Packet packet = *BuildPacket(MessageType::PlayCards, play);
    return game.Play(seat + 1, packet);
  }
  int Pass(std::uint32_t seat, std::int32_t tableNumber = 1, int claimedSeat = -1) {
    const auto named = static_cast<std::uint8_t>(claimedSeat >= 0 ? claimedSeat : seat);
    Packet packet = *BuildPacket(MessageType::PlayPass, SeatRecord{tableNumber, named});
    return game.Pass(seat + 1, packet);
  }
  auto Snapshot() const {
    std::vector<int> hands;
    for (const auto& player : table->Players) hands.push_back(player.Hand.Count());
    return std::tuple(table->Status, table->Turn, table->LastPlayer,
                      table->LastPlay.AsCombination(), hands);
  }
  // A refused message: no answer and no change.
  template <typename Act>
  void ExpectRefused(Act act) {
    host.TakeSent();
    const auto before = Snapshot();
    EXPECT_EQ(act(), 1);
    EXPECT_TRUE(host.TakeSent().empty());
    EXPECT_EQ(Snapshot(), before);
  }

  test::TempDir dir;
  FakeHost host;
  FakeView view;
  ConsoleLog log;
  Outbox outbox;
  std::unique_ptr<TServerTable> table;
  PlayerIds ids;
  Scheduler scheduler;
  TableGame game;
};

}  // namespace quarn::server::testing
