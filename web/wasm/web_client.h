// The page's table: the client model, the stream assembler and the hint
// behind one small surface that the page drives through the bindings.
// Bytes from the WebSocket go in; what the model showed comes out as events,
// what it wrote as packets to send, and the whole table as one snapshot.
// Texts are UTF-8; events and the snapshot are JSON.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "client/assist/hint.h"
#include "client/model/hand_keys.h"
#include "client/model/replay_steps.h"
#include "client/model/table_state.h"
#include "protocol/pcpheadtail.h"
#include "protocol/stream_assembler.h"

namespace quarn::web {

// The model's display and writer: both only record, the page reads them off.
class Recorder final : public client::IClientDisplay, public client::IPacketWriter {
 public:
  void SetGameState(client::TGameState state) override;
  void ShowLordCard(std::uint8_t card) override;
  void ShowTableCards() override;
  void ShowPass(int seat) override;
  void ShowWinner(int seat, std::string_view text) override;
  void ScoresChanged() override;
  void ResetRound() override;
  void ClearSeat(int seat) override;
  void TableRestored() override;
  void SeatControlsChanged() override;
  void TurnClockChanged() override;
  void StandingsChanged() override;
  void ReplaysChanged() override;
  void ShowLoginRefused() override;
  void AddTalk(int seat, std::string_view line) override;
  void ShowMessage(client::MessageIcon icon, std::string_view caption,
                   std::string_view text) override;
  bool WritePacket(std::span<const std::uint8_t> packet) override;

  std::string TakeEvents();
  std::vector<std::vector<std::uint8_t>> TakePackets();
  // The server answered the standings: it keeps its games, so it has replays.
  bool KeepsGames() const { return keepsGames_; }
  // Whether a login was refused since the last call.
  bool TakeLoginRefused() { return std::exchange(loginRefused_, false); }

 private:
  void Add(std::string json);
  std::vector<std::string> events_;
  std::vector<std::vector<std::uint8_t>> packets_;
  bool keepsGames_ = false;
  bool loginRefused_ = false;
};

class WebClient {
 public:
  WebClient();

  // Bytes of one WebSocket message; the number of packets handled.
  int Feed(std::span<const std::uint8_t> bytes);
  // The socket closed: the model's warning, the other seats cleared, Offline.
  void ConnectionLost();

  // Sends a login as the login button does; false when it cannot be built.
  bool Login(const std::string& name, const std::string& password, int serviceIcon, int headIcon,
             int table, int seat);
  // Sends the last login again (reconnect); false when there is none or not Offline.
  bool Relogin();
  bool HasLogin() const { return login_.has_value(); }

  // A table key (client::TableKey); returns the button it stands for (client::TableButton).
  int Key(int key);
  // A button (client::TableButton) other than Bid and Login, as the window's click.
  void Press(int button);
  bool Bid(int points);
  bool PassBid();
  // The hint: selects the next suggestion; false (and the selection cleared)
  // when nothing beats the table.
  bool Hint();
  bool Chat(const std::string& text);
  // Mouse or touch on the hand: a press on `slot` toggles it and starts a drag.
  void BeginDrag(int slot);
  void DragOver(int slot);
  void EndDrag();

  // Asks for the top lines and the own line; false when offline. A server
  // that keeps no games never answers: Standings() then stays waiting.
  bool AskStandings();
  std::string Standings() const;

  // Asks for the own recent games, once the server has shown that it keeps
  // games (it answered the standings); false before that or when offline.
  bool AskReplays();
  std::string ReplayList() const;
  // Asks for the game at `index` of the list; false when there is none.
  bool OpenReplay(int index);
  // Goes to `step` of the game asked for, clamped to its steps.
  void ReplayGo(int step);
  std::string Replay() const;

  std::string TakeEvents() { return recorder_.TakeEvents(); }
  std::vector<std::vector<std::uint8_t>> TakePackets() { return recorder_.TakePackets(); }
  std::string Snapshot() const;

 private:
  bool CanChooseCards() const;

  Recorder recorder_;
  client::TClientTable table_;
  StreamAssembler assembler_;
  client::THandCursor cursor_;
  client::HintCycle hint_;
  std::optional<Packet> login_;
  std::optional<client::ReplaySteps> replay_;
  std::size_t replayStep_ = 0;
};

// The display name of a card number ("黑桃10", "小王"); empty for no card.
std::string CardName(int card);

// Every packet the stream assembler finds in `bytes`, one line each as
// quarn-dump prints it (without the offset): the golden packets decode alike.
std::string DescribeStream(std::span<const std::uint8_t> bytes);

}  // namespace quarn::web
