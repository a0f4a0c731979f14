// Handlers of the game in play told again, the seats the computer plays and
// the turn's clock: messages of our own server, which a server without them
// never sends.
#include <algorithm>
#include <span>

#include "client/model/handlers.h"
#include "protocol/pcpauto.h"
#include "protocol/pcpstate.h"

namespace quarn::client::handlers {

namespace {

TGameState StateOf(const TClientTable& table, TablePhase phase) {
  switch (phase) {
    case TablePhase::Dealing:
      return TGameState::AwaitDeal;
    case TablePhase::Bidding:
      return table.OwnTurn() ? TGameState::MyBid : TGameState::OtherBid;
    case TablePhase::Playing:
      break;
  }
  return TGameState::InPlay;
}

void RestoreCards(TClientTable& table, const TableStateRecord& state) {
  table.Me.ClearHand();
  table.ForgetGame();
  table.Me.TakeCards(std::span(state.hand).first(state.handCount));
  for (int seat = 0; seat < kSeatCount; ++seat) {
    if (table.IsOwnSeat(seat)) continue;
    if (TClientPlayer* player = table.PlayerAt(seat)) {
      player->SetCardCount(state.cardCount[static_cast<std::size_t>(seat)]);
    }
  }
  table.BottomCards = state.bottom;
  std::copy(state.played.begin(), state.played.end(), table.PlayedBeforeHistory.begin() + 1);
  table.TableCards.Clear();
  if (state.tableCount > 0) {
    table.TableCards.LoadBytes(std::span(state.tableCards).first(state.tableCount));
    ClassifySilently(table.TableCards);
  }
}

// The game in play as the server told it, the own hand (if any) with it.
void Restore(TClientTable& table, const TableStateRecord& state) {
  RestoreCards(table, state);
  table.LordSeat = state.landlord;
  table.MarkLandlord(table.LordSeat);
  table.Display().ShowLordCard(state.startCard);
  table.BidPoints = state.points;
  table.CurrentSeat = state.turn;
  // With nothing on the table the seat to play leads.
  table.LeadSeat = state.tableCount > 0 ? state.leadSeat : state.turn;
  for (std::size_t seat = 0; seat < table.Seats.size(); ++seat) {
    table.Seats[seat].Score = state.score[seat];
    table.Seats[seat].Games = state.rounds[seat];
  }
  table.Display().ScoresChanged();
  table.Display().ShowTableCards();
  table.SetGameState(StateOf(table, state.phase));
  table.Display().TableRestored();
}

}  // namespace

int TableState(TClientTable& table, const Packet& packet) {
  if (InState(table, {TGameState::Offline, TGameState::LoggingIn})) return 1;
  TableStateRecord state;
  if (DecodeTableState(state, packet) != 0 || !OwnTable(table, state.tableNumber)) return 1;
  if (!table.IsOwnSeat(state.seat)) return 1;
  table.ComputerMayMove = true;
  Restore(table, state);
  return 0;
}

int WatchState(TClientTable& table, const Packet& packet) {
  if (!table.Watching || InState(table, {TGameState::Offline})) return 1;
  TableStateRecord state;
  if (DecodeWatchState(state, packet) != 0 || !OwnTable(table, state.tableNumber)) return 1;
  Restore(table, state);
  return 0;
}

int AutoPlayNotice(TClientTable& table, const Packet& packet) {
  if (InState(table, {TGameState::Offline, TGameState::LoggingIn})) return 1;
  AutoPlayRecord notice;
  if (DecodeAutoPlayNotice(notice, packet) != 0 || !OwnTable(table, notice.tableNumber)) return 1;
  table.ComputerMayMove = true;
  table.SeatControls = notice.seats;
  table.Display().SeatControlsChanged();
  return 0;
}

int TurnClock(TClientTable& table, const Packet& packet) {
  if (!InState(table, {TGameState::MyBid, TGameState::OtherBid, TGameState::InPlay,
                       TGameState::PlaySent})) {
    return 1;
  }
  TurnClockRecord clock;
  if (DecodeTurnClock(clock, packet) != 0 || !OwnTable(table, clock.tableNumber)) return 1;
  // A clock for a seat whose turn it is not here is out of step: it would count wrong.
  if (clock.seat != table.CurrentSeat) return 1;
  table.ComputerMayMove = true;
  table.ClockSeat = clock.seat;
  table.ClockLeftMs = clock.leftMs;
  table.ClockTurnMs = clock.turnMs;
  table.Display().TurnClockChanged();
  return 0;
}

}  // namespace quarn::client::handlers
