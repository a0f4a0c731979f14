// Handlers of dealing, bidding, plays and the game end.
#include <algorithm>
#include <span>

#include "client/model/handlers.h"
#include "client/model/screen_texts.h"
#include "core/card_error.h"
#include "protocol/pcpbid.h"
#include "protocol/pcpdeal.h"
#include "protocol/pcpgame.h"
#include "protocol/pcpplay.h"

namespace quarn::client::handlers {

namespace {

constexpr int kDealtCards = 25;
constexpr int kExtraCards = 8;
constexpr int kLordCards = kDealtCards + kExtraCards;
constexpr std::size_t kMaxHistory = 1024;

std::span<const std::uint8_t> CountedCards(const DealRecord& deal) {
  return std::span<const std::uint8_t>(deal.cards).first(deal.count);
}

}  // namespace

void ClassifySilently(TSelectPoker& cards) {
  const SilencedCardErrors silenced;
  cards.Classify();
}

int DealCards(TClientTable& table, const Packet& packet) {
  if (!InState(table, {TGameState::AwaitDeal})) return 1;
  DealRecord deal;
  if (DecodeDealCards(deal, packet) != 0 || !OwnTable(table, deal.tableNumber)) return 1;
  if (!table.IsOwnSeat(deal.seat) || deal.count != kDealtCards) return 1;
  // A deal starts a hand; a repeated deal must not pile onto the last one.
  table.Me.ClearHand();
  table.ForgetGame();
  table.Me.TakeCards(CountedCards(deal));
  for (int seat = 0; seat < kSeatCount; ++seat) {
    if (seat == table.OwnSeat) continue;
    if (TClientPlayer* player = table.PlayerAt(seat)) player->SetCardCount(kDealtCards);
  }
  return 0;
}

int StartCardNotice(TClientTable& table, const Packet& packet) {
  if (!InState(table, {TGameState::AwaitDeal})) return 1;
  DealRecord start;
  if (DecodeStartCardNotice(start, packet) != 0 || !OwnTable(table, start.tableNumber)) return 1;
  table.LordSeat = start.seat;
  // A watcher is dealt nothing: the start card tells it the deal is done.
  if (table.Watching) {
    table.ForgetGame();
    for (int seat = 0; seat < kSeatCount; ++seat) table.PlayerAt(seat)->SetCardCount(kDealtCards);
  }
  table.Display().ShowLordCard(start.cards[0]);
  table.MarkLandlord(table.LordSeat);
  return 0;
}

int ExtraCards(TClientTable& table, const Packet& packet) {
  if (!InState(table, {TGameState::AwaitDeal, TGameState::InPlay})) return 1;
  DealRecord extra;
  if (DecodeExtraCards(extra, packet) != 0 || !OwnTable(table, extra.tableNumber)) return 1;
  if (!table.IsOwnSeat(extra.seat) || extra.seat != table.LordSeat) return 1;
  if (extra.count != kExtraCards) return 1;
  // The bottom cards come once per deal; a second copy would not fit the hand.
  if (table.Me.Hand.Count() + kExtraCards > kLordCards) return 1;
  table.Me.TakeCards(CountedCards(extra));
  std::copy_n(extra.cards.begin(), kExtraCards, table.BottomCards.begin());
  return 0;
}

int BidOpen(TClientTable& table, const Packet& packet, MessageType type) {
  BidRecord bid;
  if (type == MessageType::BidStart) {
    if (!InState(table, {TGameState::AwaitDeal})) return 1;
    if (DecodeBidStart(bid, packet) != 0) return 1;
  } else {
    if (!InState(table, {TGameState::MyBid, TGameState::OtherBid})) return 1;
    if (DecodeBidTurn(bid, packet) != 0) return 1;
  }
  if (!OwnTable(table, bid.tableNumber)) return 1;
  table.CurrentSeat = bid.seat;
  table.BidPoints = bid.points;
  table.SetGameState(table.OwnTurn() ? TGameState::MyBid : TGameState::OtherBid);
  return 0;
}

int BidResult(TClientTable& table, const Packet& packet) {
  if (!InState(table, {TGameState::AwaitDeal, TGameState::MyBid, TGameState::OtherBid})) return 1;
  BidRecord result;
  if (DecodeBidResult(result, packet) != 0 || !OwnTable(table, result.tableNumber)) return 1;
  table.CurrentSeat = result.seat;
  table.LeadSeat = result.seat;
  table.LordSeat = result.seat;
  table.BidPoints = result.points;
  table.TableCards.Clear();
  table.MarkLandlord(table.LordSeat);
  if (!table.IsOwnSeat(table.LordSeat)) {
    if (TClientPlayer* lord = table.PlayerAt(table.LordSeat)) lord->SetCardCount(kLordCards);
  }
  table.SetGameState(TGameState::InPlay);
  return 0;
}

int PlayNotice(TClientTable& table, const Packet& packet) {
  if (!InState(table, {TGameState::InPlay, TGameState::PlaySent})) return 1;
  PlayRecord play;
  if (DecodePlayNotice(play, packet) != 0 || !OwnTable(table, play.tableNumber)) return 1;
  // A game holds a few hundred plays and passes; a server that sends more
  // is not let grow the record without end.
  if (table.History.size() < kMaxHistory) {
    TPlayedCards& seen = table.History.emplace_back();
    seen.Seat = play.seat;
    seen.Count = play.count;
    std::copy_n(play.cards.begin(), play.count, seen.Cards.begin());
  }
  if (table.IsOwnSeat(play.seat)) {
    if (table.ComputerMayMove) {
      table.SettleOwnMove(std::span<const std::uint8_t>(play.cards).first(play.count));
    } else {
      table.SentCards.clear();  // taken as sent: the hand already lost it
    }
  }
  if (play.count == 0) {
    table.Display().ShowPass(play.seat);
    return 1;  // a pass leaves the table as it is
  }
  table.TableCards.Clear();
  table.TableCards.LoadBytes(play.cards);
  ClassifySilently(table.TableCards);
  table.LeadSeat = play.seat;
  if (!table.IsOwnSeat(play.seat)) {
    if (TClientPlayer* player = table.PlayerAt(play.seat))
      player->SetCardCount(player->CardCount() - play.count);
  }
  table.Display().ShowTableCards();
  return 0;
}

int PlayTurn(TClientTable& table, const Packet& packet) {
  if (!InState(table, {TGameState::InPlay, TGameState::PlaySent})) return 1;
  SeatRecord turn;
  if (DecodePlayTurn(turn, packet) != 0 || !OwnTable(table, turn.tableNumber)) return 1;
  table.CurrentSeat = turn.seat;
  table.SetGameState(TGameState::InPlay);
  return 0;
}

int GameEnd(TClientTable& table, const Packet& packet) {
  if (!InState(table, {TGameState::InPlay, TGameState::PlaySent})) return 1;
  GameEndRecord end;
  if (DecodeGameEnd(end, packet) != 0 || !OwnTable(table, end.tableNumber)) return 1;
  if (!IsSeat(end.winner)) return 1;
  for (std::size_t seat = 0; seat < table.Seats.size(); ++seat) {
    table.Seats[seat].Games = end.rounds[seat];
    table.Seats[seat].Score = end.score[seat];
  }
  table.Display().ScoresChanged();
  table.Display().ShowWinner(end.winner, WinnerText(table, end.winner));
  table.ResetRound();
  table.SetGameState(TGameState::AwaitDeal);
  return 0;
}

}  // namespace quarn::client::handlers
