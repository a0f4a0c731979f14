// What the client knows about its table: seats, players, turns and game state.
// The table window (or the computer player) owns one and binds its display.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "client/model/client_player.h"
#include "client/model/current_player.h"
#include "client/model/display.h"
#include "client/model/game_state.h"
#include "client/model/replays.h"
#include "core/combination.h"
#include "core/tselectpoker.h"
#include "protocol/pcpauto.h"
#include "protocol/pcpstandings.h"

namespace quarn::client {

// One play or pass of the game in play, as PlayNotice told it.
struct TPlayedCards {
  std::int32_t Seat = 0;
  std::array<std::uint8_t, 33> Cards{};  ///< Card numbers, first Count places.
  int Count = 0;                         ///< 0 for a pass.
};

struct TSeatInfo {
  std::uint8_t IsSelf = 0;            ///< 1 at the own seat.
  std::int32_t Score = 0;             ///< Running score, bias removed.
  std::int32_t Games = 0;             ///< Games played, from the last game end.
  TCurrentPlayer* Current = nullptr;  ///< The own player, at the own seat only.
  TClientPlayer* Player = nullptr;    ///< The view's player at the three other seats.
  std::uint32_t TableNumber = 0;      ///< Table of the occupant; 0 when empty.
  std::uint32_t SeatNo = 0;           ///< The seat's own index; 0 when empty.
};

class TClientTable {
 public:
  // Neither is owned; nullptr stands for a display that shows nothing and a
  // connection on which every write fails.
  explicit TClientTable(IClientDisplay* display = nullptr, IPacketWriter* writer = nullptr);
  TClientTable(const TClientTable&) = delete;
  TClientTable& operator=(const TClientTable&) = delete;
  virtual ~TClientTable() = default;

  void SetDisplay(IClientDisplay* display);
  void SetWriter(IPacketWriter* writer) { writer_ = writer; }
  IClientDisplay& Display() const { return *display_; }
  IPacketWriter* Writer() const { return writer_; }

  // One-time set-up: empty seats, state Offline, Initialized. Later calls do nothing.
  void InitTable();
  // The only way GameState changes; the display then shows the new state. A
  // turn clock stops with every change: the server starts the next one.
  void SetGameState(TGameState state);
  // The computer plays the seat (for its player, or because that player is gone).
  bool ComputerPlays(int seat) const {
    return IsSeat(seat) && SeatControls[static_cast<std::size_t>(seat)] != SeatControl::Person;
  }
  // Puts the seat after the own seat right, the opposite one top, the one before left.
  void ArrangeSeats();
  // The landlord flag of `seat`'s player rises, every other player's falls.
  void MarkLandlord(int seat);
  // Turns, table cards, own hand, counts and landlord flags back to a new round.
  void ResetRound();
  // Forgets the plays and bottom cards of the game in play (a deal, a game's end).
  void ForgetGame();
  // The own seat moved as the server says: the hand loses exactly `cards`,
  // whoever chose them (this player, or the computer in its place), and a play
  // sent but not taken comes back into it.
  void SettleOwnMove(std::span<const std::uint8_t> cards);
  // A play that was sent but never taken: its cards come back into the hand.
  void UndoSentPlay() { SettleOwnMove({}); }
  // A player has left `seat`: its record and player are emptied, every hand count 0.
  void ClearSeat(int seat);
  // The connection closed: a warning, every other seat cleared (the own hand
  // with them), then state Offline so that a new login can start.
  void ConnectionLost();

  // A watcher's table (the answer to our WatchRequest said "watching"): no
  // seat is its own; 东 is drawn at the bottom through Me, whose hand stays
  // empty and whose count follows the plays as the other seats' counts do.
  void StartWatching(std::int32_t tableNumber);
  // The seat is this client's own: never while watching.
  bool IsOwnSeat(int seat) const { return !Watching && seat == OwnSeat; }

  // Me at the own seat, the seat's view elsewhere; nullptr before ArrangeSeats
  // or for a seat outside 0..3.
  TClientPlayer* PlayerAt(int seat);
  const TClientPlayer* PlayerAt(int seat) const;
  // The name shown for `seat` (UTF-8); empty when nobody is known there.
  std::string SeatPlayerName(int seat) const;
  bool OwnTurn() const { return IsOwnSeat(CurrentSeat); }

  std::int32_t CurrentSeat = 0;  ///< Seat that is to bid or to play.
  std::int32_t LeadSeat = 0;     ///< Seat whose play lies on the table.
  std::int32_t LordSeat = 0;
  std::int32_t BidPoints = 0;    ///< Travels as one byte.
  std::int32_t PlayerCount = 0;  ///< Occupied seats, from the last seat list.
  TSelectPoker TableCards;
  /// This game's plays and passes in order: what every seat has seen laid.
  std::vector<TPlayedCards> History;
  /// The landlord's bottom cards, at the landlord's own seat only; else all 0.
  std::array<std::uint8_t, 8> BottomCards{};
  /// The own play sent and taken out of the hand, until the server's notice of
  /// the own seat's move settles it (folded card numbers).
  std::vector<std::uint8_t> SentCards;
  /// The server told of a turn clock, 托管 or a kept seat: its computer may
  /// move for this seat, so the own seat's notices decide what the hand holds.
  bool ComputerMayMove = false;
  /// Cards laid this game before History began (a table restored mid-game), by rank.
  RankCounts PlayedBeforeHistory{};
  /// Who makes each seat's moves, as the server last told.
  std::array<SeatControl, kSeatCount> SeatControls{};
  /// The seat whose turn the server timed, and its time: -1 when no clock runs.
  int ClockSeat = -1;
  std::int32_t ClockLeftMs = 0;
  std::int32_t ClockTurnMs = 0;
  /// The standings of a server that keeps its games: the top lines in rank
  /// order and the own line, as last answered; the requests still unanswered.
  std::vector<StandingsLineRecord> TopStandings;
  std::optional<StandingsLineRecord> OwnStanding;
  std::deque<StandingsAsk> StandingsAsked;
  /// The own recent games and the one asked for, from a server that keeps games.
  TReplays Replays;
  TGameState GameState = TGameState::Offline;
  std::array<TSeatInfo, kSeatCount> Seats{};
  bool Initialized = false;
  std::uint32_t TableNumber = 0;  ///< Confirmed at login; checked on every message.
  std::int32_t OwnSeat = 0;
  /// Watching a table without a seat; the table a WatchRequest asked for
  /// while its answer is awaited (0: none); whether the server passes a
  /// watcher's chat on.
  bool Watching = false;
  std::int32_t WatchAsked = 0;
  bool WatcherMayChat = false;
  TCurrentPlayer Me;
  TClientPlayer LeftView;
  TClientPlayer TopView;
  TClientPlayer RightView;

 private:
  IClientDisplay* display_;
  IPacketWriter* writer_;
};

}  // namespace quarn::client
