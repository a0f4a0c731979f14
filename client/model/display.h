// What the message handling shows. The table window implements it with widgets,
// the computer player with a log or nothing; every operation has an empty default.
//
// The model has already changed its state when an operation is called, so an
// implementation reads the table (TClientTable) for anything it needs beyond
// the arguments. Texts are UTF-8.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "client/model/game_state.h"
#include "protocol/pcplobby.h"

namespace quarn::client {

enum class MessageIcon : std::uint8_t { Information, Warning, Question, Error };

class IClientDisplay {
 public:
  virtual ~IClientDisplay() = default;

  // GameState is now `state`: show the seat letter (SeatLabelVisible), the
  // buttons (ButtonsFor) and the status texts (StatusFor); on entering
  // LoggingIn also the title (WindowTitle). Hide the talk window when the
  // speak button ends up disabled.
  virtual void SetGameState(TGameState /*state*/) {}

  // The start card, face up (card number 1..108).
  virtual void ShowLordCard(std::uint8_t /*card*/) {}

  // The table's TableCards changed: draw its 33 slots, and put
  // TableCardsCaption() into the middle status panel.
  virtual void ShowTableCards() {}

  // A seat passed in the play phase. The table shows nothing for it.
  virtual void ShowPass(int /*seat*/) {}

  // The game is over: hide the start card and the landlord mark, show `text`
  // (WinnerText) in the middle status panel.
  virtual void ShowWinner(int /*seat*/, std::string_view /*text*/) {}

  // The scores and games of the seats were updated from a game end.
  virtual void ScoresChanged() {}

  // The round was reset (turns, table cards, hand and counts are already empty).
  virtual void ResetRound() {}

  // A player has left `seat` (the model has cleared it): hide the start card
  // and empty the hero board.
  virtual void ClearSeat(int /*seat*/) {}

  // The table was restored from the server's account of the game in play
  // (hand, counts, landlord, table cards, turn and scores are already set).
  virtual void TableRestored() {}

  // SeatControls changed: mark every seat the computer plays.
  virtual void SeatControlsChanged() {}

  // ClockSeat, ClockLeftMs and ClockTurnMs changed (ClockSeat -1: no clock).
  // The time counts down from when this is called.
  virtual void TurnClockChanged() {}
  // The standings lines changed (TopStandings, OwnStanding).
  virtual void StandingsChanged() {}
  // The replay list or the game asked for changed (Replays).
  virtual void ReplaysChanged() {}
  // The server answered our WatchRequest; when it said "watching", the table
  // is already a watcher's (TClientTable::Watching) in state Seated.
  virtual void WatchAnswered(WatchResult /*result*/) {}

  // The server refused our login (its table full, or the name's password
  // not matched); the table is Offline again.
  virtual void ShowLoginRefused() {}

  // One chat line, already formed as "name：text" (TalkLine).
  virtual void AddTalk(int /*seat*/, std::string_view /*line*/) {}

  // A modal message box with one OK button.
  virtual void ShowMessage(MessageIcon /*icon*/, std::string_view /*caption*/,
                           std::string_view /*text*/) {}
};

// Writes one finished packet to the server. True when every byte was handed
// to the connection.
class IPacketWriter {
 public:
  virtual ~IPacketWriter() = default;
  virtual bool WritePacket(std::span<const std::uint8_t> packet) = 0;
};

}  // namespace quarn::client
