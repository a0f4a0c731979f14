// Recording stand-ins for the window (a display, player views, a connection)
// and builders of the server's packets.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "client/model/display.h"
#include "client/model/player_view.h"
#include "client/model/table_state.h"
#include "core/card_error.h"
#include "protocol/packet_builder.h"
#include "tests/support/card_helpers.h"

namespace quarn::client::testing {

// Every call as one line, e.g. "state 3", "winner 2 赢家是...".
class RecordingDisplay : public IClientDisplay {
 public:
  void SetGameState(TGameState state) override { Log("state", static_cast<int>(state)); }
  void ShowLordCard(std::uint8_t card) override { Log("lordcard", card); }
  void ShowTableCards() override { events.push_back("table"); }
  void ShowPass(int seat) override { Log("pass", seat); }
  void ShowWinner(int seat, std::string_view text) override { Log("winner", seat, text); }
  void ScoresChanged() override { events.push_back("scores"); }
  void ResetRound() override { events.push_back("reset"); }
  void ClearSeat(int seat) override { Log("clear", seat); }
  void ReplaysChanged() override { events.push_back("replays"); }
  void WatchAnswered(WatchResult result) override { Log("watch", static_cast<int>(result)); }
  void AddTalk(int seat, std::string_view line) override { Log("talk", seat, line); }
  void ShowMessage(MessageIcon icon, std::string_view caption, std::string_view text) override {
    Log("message", static_cast<int>(icon), std::string{caption} + " " + std::string{text});
  }

  bool Saw(std::string_view event) const {
    return std::find(events.begin(), events.end(), event) != events.end();
  }
  std::vector<std::string> events;

 private:
  void Log(const char* what, int number, std::string_view text = {}) {
    std::string line = what + (" " + std::to_string(number));
    if (!text.empty()) line += " " + std::string{text};
    events.push_back(line);
  }
};

// What one player's controls would show.
class RecordingView : public IPlayerView {
 public:
  void ShowName(std::string_view name) override { shownName = name; }
  void ShowCardCount(int count) override { shownCount = count; }
  void ShowIcon(int icon) override { shownIcon = icon; }
  void ShowLandlordMark() override { ++markMoves; }
  void ShowHandCard(int slot, std::uint8_t card) override { cards.at(slot) = card; }
  void RaiseHandCard(int slot, bool up) override { raised.at(slot) = up; }

  std::string shownName = "(none)";
  int shownCount = -1;
  int shownIcon = -1;
  int markMoves = 0;
  std::array<std::uint8_t, 33> cards{};
  std::array<bool, 33> raised{};
};

// A connection whose writes succeed or fail as told, keeping what was written.
class FakeWriter : public IPacketWriter {
 public:
  bool WritePacket(std::span<const std::uint8_t> packet) override {
    ++attempts;
    if (!fail) written.emplace_back(packet.begin(), packet.end());
    return !fail;
  }
  bool fail = false;
  int attempts = 0;
  std::vector<std::vector<std::uint8_t>> written;
};

// A table with recording display, views and connection bound, InitTable run.
struct Harness {
  Harness();
  // Logs in as "甲乙" at `ownSeat` of table 1; the list names the seats 东家 北家 西家 南家.
  void SeatFour(int ownSeat);
  // SeatFour, then deals LowCards() and opens play with `lord` as landlord.
  void StartPlay(int ownSeat, int lord);
  int Feed(const std::optional<Packet>& packet);

  RecordingDisplay display;
  FakeWriter writer;
  std::array<RecordingView, 4> views;  // own, left, top, right
  TClientTable table{&display, &writer};
};

// Takes the card error reports while it lives.
using quarn::testing::CapturedReports;

// Server packets, of table 1 unless told; a test fails when one cannot be built.
using CardBytes = std::vector<std::uint8_t>;
Packet Must(std::optional<Packet> packet);
Packet LoginReply(int seat, std::int32_t table = 1);
Packet SeatList(const std::array<std::string, 4>& names, std::int32_t table = 1);
Packet Deal(MessageType type, int seat, const CardBytes& cards, std::int32_t table = 1);
Packet Bid(MessageType type, int seat, int points, std::int32_t table = 1);
Packet PlayNotice(int seat, const CardBytes& cards, std::int32_t table = 1);
Packet SeatMessage(MessageType type, int seat, std::int32_t table = 1);
inline Packet PlayTurn(int seat) {
  return SeatMessage(MessageType::PlayTurn, seat);
}
inline Packet PlayerLeave(int seat) {
  return SeatMessage(MessageType::PlayerLeave, seat);
}
Packet GameEnd(int winner, const std::array<std::int32_t, 4>& scores = {}, std::int32_t table = 1,
               const std::array<std::string, 4>& names = {"p0", "p1", "p2", "p3"});
Packet Chat(int seat, const std::string& utf8Text);
// `count` cards numbered from `first` up; by default 1..25, the 3s to the 8s and one 9.
CardBytes LowCards(int first = 1, int count = 25);

}  // namespace quarn::client::testing
