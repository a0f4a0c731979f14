#include "client/model/table_state.h"

#include <algorithm>

#include "client/model/screen_texts.h"

namespace quarn::client {

namespace {
IClientDisplay& SilentDisplay() {
  static IClientDisplay display;
  return display;
}
}  // namespace

TClientTable::TClientTable(IClientDisplay* display, IPacketWriter* writer)
    : display_(display ? display : &SilentDisplay()), writer_(writer) {}

void TClientTable::SetDisplay(IClientDisplay* display) {
  display_ = display ? display : &SilentDisplay();
}

void TClientTable::InitTable() {
  if (Initialized) return;
  TableCards.Clear();
  for (TSeatInfo& seat : Seats) seat = TSeatInfo{};
  SetGameState(TGameState::Offline);
  Initialized = true;
}

void TClientTable::SetGameState(TGameState state) {
  GameState = state;
  const bool clockStopped = ClockSeat >= 0;
  ClockSeat = -1;
  display_->SetGameState(state);
  if (clockStopped) display_->TurnClockChanged();
}

void TClientTable::ArrangeSeats() {
  auto at = [this](int offset) -> TSeatInfo& {
    return Seats[static_cast<std::size_t>((OwnSeat + offset) % kSeatCount)];
  };
  at(1).Player = &RightView;
  at(2).Player = &TopView;
  at(3).Player = &LeftView;
}

void TClientTable::StartWatching(std::int32_t tableNumber) {
  Watching = true;
  WatchAsked = 0;
  TableNumber = static_cast<std::uint32_t>(tableNumber);
  OwnSeat = 0;
  for (TSeatInfo& info : Seats) info = TSeatInfo{};
  Seats[0].Player = &Me;
  ArrangeSeats();
  Me.ClearHand();
  SetGameState(TGameState::Seated);
}

TClientPlayer* TClientTable::PlayerAt(int seat) {
  if (!IsSeat(seat)) return nullptr;
  if (seat == OwnSeat) return &Me;
  return Seats[static_cast<std::size_t>(seat)].Player;
}

const TClientPlayer* TClientTable::PlayerAt(int seat) const {
  return const_cast<TClientTable*>(this)->PlayerAt(seat);
}

std::string TClientTable::SeatPlayerName(int seat) const {
  const TClientPlayer* player = PlayerAt(seat);
  return player ? player->Name() : std::string{};
}

void TClientTable::MarkLandlord(int seat) {
  for (int s = 0; s < kSeatCount; ++s) {
    if (TClientPlayer* player = PlayerAt(s)) player->SetLandlord(s == seat);
  }
}

void TClientTable::SettleOwnMove(std::span<const std::uint8_t> cards) {
  std::vector<std::uint8_t> hand;
  for (const TPoker& card : Me.Hand.Cards()) {
    if (card.IsPresent()) hand.push_back(static_cast<std::uint8_t>(card.Number()));
  }
  std::vector<std::uint8_t> held = hand;
  held.insert(held.end(), SentCards.begin(), SentCards.end());
  SentCards.clear();
  for (const std::uint8_t card : cards) {
    const auto it = std::find(held.begin(), held.end(), FoldCard(card));
    if (it != held.end()) held.erase(it);
  }
  // Usually the notice names the play this player sent and nothing changes:
  // the cards left keep their places.
  if (std::is_permutation(held.begin(), held.end(), hand.begin(), hand.end())) return;
  Me.ClearHand();
  Me.TakeCards(held);
}

void TClientTable::ForgetGame() {
  SentCards.clear();
  History.clear();
  BottomCards.fill(0);
  PlayedBeforeHistory.fill(0);
}

void TClientTable::ResetRound() {
  ForgetGame();
  CurrentSeat = 0;
  LeadSeat = 0;
  LordSeat = 0;
  TableCards.Clear();
  display_->ShowTableCards();
  Me.ClearHand();
  for (TClientPlayer* view : {&LeftView, &TopView, &RightView}) view->SetCardCount(0);
  for (TClientPlayer* player : {static_cast<TClientPlayer*>(&Me), &LeftView, &TopView, &RightView})
    player->SetLandlord(false);
  display_->ResetRound();
}

void TClientTable::ClearSeat(int seat) {
  if (!IsSeat(seat) || IsOwnSeat(seat)) return;
  ForgetGame();  // the game in play ends with the player who left
  for (int s = 0; s < kSeatCount; ++s) {
    TSeatInfo& info = Seats[static_cast<std::size_t>(s)];
    if (s == seat) {
      SeatControls[static_cast<std::size_t>(s)] = SeatControl::Person;
      info.Score = 0;
      info.Games = 0;
      info.IsSelf = 0;
      if (info.Player) {
        info.Player->SetName("");
        info.Player->SetIcon(0);
        info.Player->SetService(0);
        info.Player->SetCardCount(0);
      }
    } else if (s == OwnSeat) {
      Me.ClearHand();
    } else if (info.Player) {
      info.Player->SetCardCount(0);
    }
  }
  display_->ClearSeat(seat);
}

void TClientTable::ConnectionLost() {
  display_->ShowMessage(MessageIcon::Warning, kCaptionWarning, kMsgConnectionLost);
  for (int s = 0; s < kSeatCount; ++s) {
    if (!IsOwnSeat(s)) ClearSeat(s);
  }
  Watching = false;
  WatchAsked = 0;
  WatcherMayChat = false;
  SeatControls.fill(SeatControl::Person);
  ComputerMayMove = false;
  // Answers still to come went with the connection: left open, the requests
  // would take the next connection's answers, and a game would arrive forever.
  StandingsAsked.clear();
  Replays.ListAsked = 0;
  Replays.Incoming.clear();
  if (Replays.Arrival == ReplayArrival::Arriving) {
    Replays.Arrival = ReplayArrival::NotWhole;
    display_->ReplaysChanged();
  }
  display_->SeatControlsChanged();
  SetGameState(TGameState::Offline);
}

}  // namespace quarn::client
