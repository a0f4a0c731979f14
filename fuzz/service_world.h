// The world around the game server under the service fuzzer: a fake host
// whose every send is checked as it happens, a view that checks the score of
// every finished game, the connections the fuzzer holds open, and the checks
// of every table after each event. A broken rule aborts (libFuzzer keeps the
// input) after one line on standard error that names the rule.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "protocol/any_message.h"
#include "server/server_app.h"
#include "server/server_table.h"
#include "tests/support/server/fake_host.h"

namespace quarn::fuzz {

using server::ConnectionId;
using server::TServerTable;

// How many of each card face (1..54), as a hand holds them.
using FaceCounts = std::array<std::uint8_t, 55>;

// A seated connection: its table and seat.
struct SeatAt {
  const TServerTable* table = nullptr;
  std::uint32_t seat = 0;
};

class ServiceWorld final : public server::testing::FakeHost, public server::IConsoleView {
 public:
  void Attach(const server::ServerApp* app) { app_ = app; }

  // The fuzzer's side of the connections.
  void Opened(ConnectionId id) { open_.insert(id); }
  void Gone(ConnectionId id) {
    open_.erase(id);
    watching_.erase(id);
  }
  bool IsOpen(ConnectionId id) const { return open_.contains(id); }
  // Connections the server closed; the host reports them as closed later.
  std::vector<ConnectionId> TakeClosing();

  // The seat of a connection at any table (one at most).
  SeatAt SeatOf(ConnectionId id) const;
  // Every table's records hold together (after every event).
  void CheckTables() const;
  // What a table's game holds, in one text: equal before and after an event
  // that must change nothing.
  std::string Fingerprint() const;
  // Sends since the last call.
  std::size_t TakeSends();
  // Games played to their end.
  int Games() const { return games_; }

  // IServerHost
  int Send(ConnectionId connection, std::span<const std::uint8_t> bytes) override;
  void Close(ConnectionId connection) override;
  // The fake host's clock without its time zone lookups, and timers without
  // the marks no check reads: both run for every log line and pause.
  std::tm LocalTime() override;
  void StartTimer(server::TimerId id, std::chrono::milliseconds delay) override {
    timers.push_back({elapsed + delay, id});
  }

  // IConsoleView: the hero board's block header comes after a game is scored.
  void LogLineAdded(std::string_view) override {}
  void HeroLineAdded(std::string_view line) override;
  void LogCleared() override {}
  void HeroCleared() override {}
  void StatusChanged(std::string_view, bool) override {}

 private:
  void CheckSend(ConnectionId connection, std::span<const std::uint8_t> bytes);
  // The lobby answers anyone; a watcher hears its table's public messages
  // alone. True when the send was one of these, checked.
  bool CheckedLobbySend(ConnectionId connection, MessageType type, const Packet& packet);
  // Follows what a connection was told of its own cards.
  void Tell(ConnectionId connection, MessageType type, const MessageBody& body, std::uint32_t seat);
  void CheckGame(const TServerTable& table) const;
  void CheckScores(const TServerTable& table);

  const server::ServerApp* app_ = nullptr;
  std::set<ConnectionId> open_;
  std::map<ConnectionId, std::int32_t> watching_;  // watchers: the table they watch
  std::vector<ConnectionId> closing_;
  std::size_t sends_ = 0;
  int games_ = 0;
  // By table number: each seat's player id and running score after its last game.
  std::map<std::int32_t, std::array<std::pair<std::int32_t, std::int32_t>, 4>> scored_;
  // By connection: how many of each face it was told it holds (flat
  // counts: the checks run after every event and must stay cheap).
  std::map<ConnectionId, FaceCounts> told_;
};

}  // namespace quarn::fuzz
